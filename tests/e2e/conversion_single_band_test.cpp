#include <limits>

#include "conversion_support.h"

namespace {

using namespace radmill_test;

constexpr double nan = std::numeric_limits<double>::quiet_NaN();

// Bands A (UINT8), B (UINT16) and C (FLOAT64) of three samples, each ending in not_scanned.
pb::Product three_bands() {
    pb::Product product;
    const auto add = [&](pb::StorageType type, const std::string& raw, const std::string& name) {
        pb::Product one = raster_product(
            3, 1, type, raw,
            "data_descriptor { name: '" + name +
                "' data_scale { linear { step: 0.5 offset: -32 not_scanned: 255 } } }");
        *product.mutable_raster_data_list()->add_raster_data() = first_band(one);
    };
    add(pb::UINT8, raw_bytes<std::uint8_t>({0, 1, 255}), "A");
    add(pb::UINT16, raw_bytes<std::uint16_t>({1, 2, 255}), "B");
    add(pb::FLOAT64, raw_bytes<double>({3, -1, nan}), "C");
    return product;
}

TEST(ConversionSingleBand, EveryBandGetsADirectoryOfPhysicalValuesOnlyInSingleBandMode) {
    const Conversion single(three_bands(), {"-t", "palette"}, single_band_config);
    EXPECT_EQ(single.stderr_text, "");  // libtiff knows the GDAL tags in every directory
    for (const char* record :
         {"[info] Multi-band mode: processing 3 bands", "[info] Processing band 2/3",
          "[info] Band 2/3 written successfully", "[debug] Writing directory for band 2",
          "[debug] Ready to process band 2", "[debug] Ready to process band 3"}) {
        EXPECT_TRUE(single.logged(record)) << record;
    }
    EXPECT_FALSE(single.logged("[debug] Writing directory for band 3"));  // closing writes it
    EXPECT_TRUE(
        single.logged("[info] GeoTIFF conversion completed: " + single.output + " (3 band(s))"));
    EXPECT_EQ(GdalFile(single).directory_count(), 3);
    // Float64 samples are kept as stored, without the linear scale.
    const std::vector<double> values[] = {{-32, -31.5, nan}, {-31.5, -31, nan}, {3, -1, nan}};
    for (int n = 1; n <= 3; ++n) {
        SCOPED_TRACE(n);
        const GdalFile file("GTIFF_DIR:" + std::to_string(n) + ":" + single.output);
        EXPECT_EQ(file.type(), GDT_Float64);
        EXPECT_EQ(texts(file.values()), texts(values[n - 1]));
        EXPECT_EQ(file.nodata(), "nan");
        EXPECT_EQ(file.item("FIELD"), std::string(1, static_cast<char>('A' + n - 1)));
        EXPECT_EQ(file.item("STATISTICS_VALID_PERCENT"), "66.67");
    }

    const Conversion first_only(three_bands(), {"-t", "grayscale"});
    const GdalFile file(first_only);
    EXPECT_EQ(file.directory_count(), 1);
    EXPECT_EQ(file.values(), (std::vector<double>{0, 1, 255}));
    EXPECT_EQ(file.item("TIFFTAG_IMAGEDESCRIPTION"), "A");
}

}  // namespace
