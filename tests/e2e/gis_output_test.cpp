// The output options of radmill.conf, read back through GDAL: compressed and Cloud-Optimized
// files keep every value of the plain file, and a native georeference puts each directory in
// the product's own coordinate system.
#include <ogr_spatialref.h>

#include <cmath>

#include "conversion_support.h"

namespace {

using namespace radmill_test;

// Two bands of a radmill-sample product on the EPSG:3067 grid, NaN where not scanned. Wider
// than one 512-pixel tile, so that a COG of it has an overview.
pb::Product two_bands() {
    return sample_product(
        {"--width", "1100", "--height", "60", "--bands", "2", "--projection", "epsg:3067"});
}

// The bytes of the values of every directory of the file at path: NaN equals NaN.
std::vector<std::string> directory_values(const std::string& path) {
    std::vector<std::string> directories;
    for (int n = 1; n <= GdalFile(path).directory_count(); ++n) {
        const std::vector<double> values =
            GdalFile("GTIFF_DIR:" + std::to_string(n) + ":" + path).values();
        directories.emplace_back(reinterpret_cast<const char*>(values.data()),
                                 values.size() * sizeof(double));
    }
    return directories;
}

struct Mode {
    const char* color_type;
    const char* config;  // the installation's keys before the output options
    const char* predictor;
};
const Mode modes[] = {
    {"grayscale", debug_config, "3"},  // float samples: the sample product stores float32
    {"palette", debug_config, "2"},   {"rgb", debug_config, "2"},
    {"float", debug_config, "3"},     {"float", single_band_config, "3"},
};

TEST(GisOutput, CompressedFilesHoldThePlainFilesValues) {
    const pb::Product product = two_bands();
    const struct {
        const char* options;
        const char* compression;
    } cases[] = {
        {"compress = deflate\n", "DEFLATE"},
        {"compress = lzw\n", "LZW"},
        {"compress = zstd\ncompress_level = 22\n", "ZSTD"},
        // Floating-point differencing is for float samples; integer ones get horizontal.
        {"compress = deflate\npredictor = 3\ncompress_level = 12\n", "DEFLATE"},
    };
    for (const Mode& mode : modes) {
        Conversion conversion(mode.config);
        conversion.run(product, {"-t", mode.color_type}, conversion.path("plain.tif"));
        const auto plain = directory_values(conversion.output);
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(mode.color_type) + " " + mode.config + c.options);
            conversion.write_config(std::string(mode.config) + c.options);
            conversion.run(product, {"-t", mode.color_type});
            const GdalFile file(conversion);
            EXPECT_EQ(file.item("COMPRESSION", "IMAGE_STRUCTURE"), c.compression);
            EXPECT_EQ(file.item("PREDICTOR", "IMAGE_STRUCTURE"), mode.predictor);
            EXPECT_EQ(directory_values(conversion.output), plain);
        }
    }
}

// An overview pixel of a float band is the mean of the valid values under it: NaN (not
// scanned) is left out, not averaged in.
void expect_nan_free_means(const GdalFile& file) {
    GDALRasterBandH full = file.band(), overview = GDALGetOverview(full, 0);
    const int width = GDALGetRasterBandXSize(overview), height = GDALGetRasterBandYSize(overview);
    std::vector<float> big(4 * width * height), small(width * height);
    ASSERT_EQ(GDALRasterIO(full, GF_Read, 0, 0, 2 * width, 2 * height, big.data(), 2 * width,
                           2 * height, GDT_Float32, 0, 0),
              CE_None);
    ASSERT_EQ(GDALRasterIO(overview, GF_Read, 0, 0, width, height, small.data(), width, height,
                           GDT_Float32, 0, 0),
              CE_None);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            double sum = 0;
            int valid = 0;
            for (int i : {0, 1, 2 * width, 2 * width + 1}) {
                const float value = big[2 * y * 2 * width + 2 * x + i];
                if (!std::isnan(value)) sum += value, ++valid;
            }
            const float mean = small[y * width + x];
            const float expected = valid == 0 ? NAN : static_cast<float>(sum / valid);
            EXPECT_TRUE(std::isnan(expected) ? std::isnan(mean)
                                             : std::fabs(mean - expected) < 1e-3f)
                << x << ", " << y;
        }
    }
}

// Without compress_level the compressor keeps its own default, not its fastest level.
TEST(GisOutput, CompressionLevelDefaultsToTheLibrarys) {
    const pb::Product product = two_bands();
    Conversion conversion(std::string(debug_config) + "compress = deflate\ncompress_level = 1\n");
    conversion.run(product, {"-t", "float"}, conversion.path("fastest.tif"));
    conversion.write_config(std::string(debug_config) + "compress = deflate\n");
    conversion.run(product, {"-t", "float"});
    EXPECT_LT(read_file(conversion.output).size(),
              read_file(conversion.path("fastest.tif")).size());
}

TEST(GisOutput, CloudOptimizedFilesPassGdalsValidator) {
    const pb::Product product = two_bands();
    for (const Mode& mode : modes) {
        SCOPED_TRACE(std::string(mode.color_type) + " " + mode.config);
        Conversion conversion(mode.config);
        conversion.run(product, {"-t", mode.color_type}, conversion.path("plain.tif"));
        const auto plain = directory_values(conversion.output);
        conversion.write_config(std::string(mode.config) + "layout = cog\ncompress = zstd\n");
        conversion.run(product, {"-t", mode.color_type});
        if (std::string(mode.config) == single_band_config) {
            // Two bands can't make one COG: refused before any file is made.
            EXPECT_EQ(conversion.status, 1);
            EXPECT_EQ(conversion.errors(),
                      (std::vector<std::string>{"A Cloud-Optimized GeoTIFF holds one band: set "
                                                "layout = strips to write the 2 bands of "
                                                "single-band mode"}));
            EXPECT_EQ(directory_entries(conversion.root()),
                      (std::vector<std::string>{"config", "log", "plain.tif", "product.pb"}));
            continue;
        }
        const RunResult validated = run_program(
            "/usr/bin/python3",
            {"-m", "osgeo_utils.samples.validate_cloud_optimized_geotiff", conversion.output});
        EXPECT_EQ(validated.status, 0) << validated.stderr_text;
        const GdalFile file(conversion);
        EXPECT_EQ(GDALGetOverviewCount(file.band()), 2);  // 550 and 275 columns: one tile
        EXPECT_EQ(file.item("COMPRESSION", "IMAGE_STRUCTURE"), "ZSTD");
        EXPECT_EQ(directory_values(conversion.output), plain);
        if (std::string(mode.color_type) == "float") expect_nan_free_means(file);
    }
}

// Every directory of a single-band file carries the product's own system, and its corners are
// the product's box, not a rectangle around converted ones.
TEST(GisOutput, NativeGeoreferenceKeepsTheProductsGrid) {
    const pb::Product product = two_bands();
    Conversion conversion(std::string(single_band_config) + "georeference = native\n");
    conversion.run(product, {"-t", "float"});
    OGRSpatialReference tm35fin;
    tm35fin.importFromEPSG(3067);
    for (const std::string prefix : {"GTIFF_DIR:1:", "GTIFF_DIR:2:"}) {
        const GdalFile file(prefix + conversion.output);
        const auto* crs =
            OGRSpatialReference::FromHandle(GDALGetSpatialRef(GDALGetBandDataset(file.band())));
        ASSERT_NE(crs, nullptr);
        EXPECT_TRUE(crs->IsSame(&tm35fin));
        EXPECT_STREQ(crs->GetAuthorityCode(nullptr), "3067");
        double t[6] = {};
        GDALGetGeoTransform(GDALGetBandDataset(file.band()), t);
        const auto& box = product.raster_data_list().raster_data(0).geo_reference().bounding_box();
        EXPECT_NEAR(t[0], box.south_west().x(), 1e-3);
        EXPECT_NEAR(t[3], box.north_east().y(), 1e-3);
        EXPECT_NEAR(t[0] + 1100 * t[1], box.north_east().x(), 1e-3);
        EXPECT_NEAR(t[3] + 60 * t[5], box.south_west().y(), 1e-3);
    }
    EXPECT_TRUE(conversion.logged(
        "[info] Setting GeoTIFF coordinate system to the product's own: ETRS89 / TM35FIN(E,N) "
        "(EPSG:3067)"));
}

}  // namespace
