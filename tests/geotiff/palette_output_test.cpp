#include "palette_output.h"

#include "color_scale_files.h"
#include "color_test_support.h"

#include <gdal.h>
#include <gtest/gtest.h>
#include <tiffio.h>

#include <cmath>
#include <functional>
#include <limits>

namespace {

namespace pb = qrd::pb::common;
using color_test::band_with_scale;
using color_test::float_block;
using color_test::interval;
using color_test::LogCapture;
using color_test::Rgba;

constexpr float nan_value = std::numeric_limits<float>::quiet_NaN();
constexpr float infinity = std::numeric_limits<float>::infinity();
constexpr int not_scanned = -9999;
constexpr int under_threshold = -8888;

// What GDAL sees in a one-band palette file.
struct PaletteFile {
    std::vector<Rgba> colors;  // the colour table, alpha as GDAL reports it
    std::vector<std::uint8_t> indices;
    GDALColorInterp interpretation = GCI_Undefined;
    bool has_nodata = true;
};

// Writes a width x 1 palette TIFF whose ColorMap and index bytes write_band produces, and
// reads it back with GDAL. An empty block from write_band leaves the file unwritten.
PaletteFile write_and_read(std::uint32_t width,
                           const std::function<qrdcvt::SampleBlock(TIFF*)>& write_band,
                           bool* written = nullptr) {
    radmill_test::TempInstall scratch;
    const std::string path = scratch.path("palette.tif");
    TIFF* tiff = TIFFOpen(path.c_str(), "w");
    TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, width);
    TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, 1);
    TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, 1);
    const qrdcvt::BandLayout layout = qrdcvt::palette_layout(tiff);
    TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, 8 * layout.bytes_per_sample);
    TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, layout.samples_per_pixel);
    const qrdcvt::SampleBlock indices = write_band(tiff);
    if (written != nullptr) *written = static_cast<bool>(indices);
    if (!indices) {
        TIFFClose(tiff);
        return {};
    }
    TIFFWriteEncodedStrip(tiff, 0, indices.data(), static_cast<tmsize_t>(indices.size));
    TIFFClose(tiff);

    GDALAllRegister();
    GDALDatasetH dataset = GDALOpen(path.c_str(), GA_ReadOnly);
    EXPECT_NE(dataset, nullptr);
    if (dataset == nullptr) return {};
    PaletteFile file;
    GDALRasterBandH band = GDALGetRasterBand(dataset, 1);
    file.interpretation = GDALGetRasterColorInterpretation(band);
    int has_nodata = 0;
    GDALGetRasterNoDataValue(band, &has_nodata);
    file.has_nodata = has_nodata != 0;
    if (GDALColorTableH table = GDALGetRasterColorTable(band)) {
        for (int i = 0; i < GDALGetColorEntryCount(table); ++i) {
            const GDALColorEntry* entry = GDALGetColorEntry(table, i);
            file.colors.push_back({static_cast<std::uint8_t>(entry->c1),
                                   static_cast<std::uint8_t>(entry->c2),
                                   static_cast<std::uint8_t>(entry->c3),
                                   static_cast<std::uint8_t>(entry->c4)});
        }
    }
    file.indices.resize(width);
    EXPECT_EQ(GDALRasterIO(band, GF_Read, 0, 0, static_cast<int>(width), 1,
                           file.indices.data(), static_cast<int>(width), 1, GDT_Byte, 0, 0),
              CE_None);
    GDALClose(dataset);
    return file;
}

// Converts values as one FLOAT32 row and reads the file back.
PaletteFile convert_and_read(const std::vector<float>& values, const pb::RasterData& band,
                             const qrdcvt::ColorMapper* scale = nullptr,
                             qrdcvt::ColorTable* table_out = nullptr) {
    qrdcvt::ColorTable table{};
    const auto width = static_cast<std::uint32_t>(values.size());
    PaletteFile file = write_and_read(width, [&](TIFF* tiff) {
        return qrdcvt::convert_to_palette(float_block(values), pb::FLOAT32, band, width, 1,
                                          table, scale, tiff);
    });
    if (table_out != nullptr) *table_out = table;
    return file;
}

const Rgba blue = {0, 0, 255, 255};
const Rgba green = {0, 255, 0, 255};
const Rgba red = {255, 0, 0, 255};
const Rgba nodata_colour = {10, 20, 30, 255};
const Rgba no_echo_colour = {40, 50, 60, 255};
const Rgba grey = {180, 180, 180, 255};

qrdcvt::ColorMapper three_colour_scale() {
    qrdcvt::ColorMapper scale;
    scale.scales = {interval(-100, 10, blue), interval(10.1f, 50, green),
                    interval(50.1f, infinity, red)};
    scale.nodata.rgba = nodata_colour;
    scale.no_echo.rgba = no_echo_colour;
    return scale;
}

TEST(PaletteConversion, IndexOfEachKindOfSample) {
    struct Case {
        float value;
        int index;
    };
    const std::vector<Case> cases = {
        {0, 1},            // min
        {100, 254},        // max
        {25, 64},          // roundf(63.25) + 1
        {50, 128},         // 126.5 rounds away from zero
        {nan_value, 0},
        {infinity, 0},
        {-infinity, 0},
        {not_scanned, 0},
        {under_threshold, 255},
    };
    std::vector<float> values;
    for (const Case& c : cases) values.push_back(c.value);
    const PaletteFile file =
        convert_and_read(values, band_with_scale(not_scanned, under_threshold));
    ASSERT_EQ(file.indices.size(), cases.size());
    for (std::size_t i = 0; i < cases.size(); ++i) {
        EXPECT_EQ(file.indices[i], cases[i].index) << "sample " << cases[i].value;
    }
}

TEST(PaletteConversion, LogsCodesRangeColormapAndCompletion) {
    LogCapture log;
    const qrdcvt::ColorMapper scale = three_colour_scale();
    convert_and_read({0, 100, 7, not_scanned}, band_with_scale(not_scanned, under_threshold),
                     &scale);
    EXPECT_TRUE(log.has("debug", "Converting from storage type 5 to UINT8 for palette output"));
    EXPECT_TRUE(log.has("debug", "Palette: not_scanned=-9999, under_threshold=-8888"));
    EXPECT_TRUE(log.has("debug", "Palette data range: [0, 100], mapping to indices [1, 254]"));
    EXPECT_TRUE(log.has("debug",
                        "Palette colormap built: index 0 -> nodata (grey), index 1 -> value 0, "
                        "index 254 -> value 100, index 255 -> no echo (grey)"));
    EXPECT_TRUE(log.has("info", "Palette conversion completed: 4 bytes"));
}

TEST(PaletteConversion, AllEqualValidSamplesGetIndexOne) {
    LogCapture log;
    const PaletteFile file = convert_and_read({12.5f, nan_value, 12.5f}, pb::RasterData());
    EXPECT_EQ(file.indices, (std::vector<std::uint8_t>{1, 0, 1}));
    EXPECT_TRUE(
        log.has("debug", "Palette data range: [12.5, 12.5], mapping to indices [1, 254]"));
}

TEST(PaletteConversion, BandWithoutValidSamplesHasOnlyNodataAndNoEcho) {
    LogCapture log;
    const PaletteFile file = convert_and_read({nan_value, under_threshold, not_scanned},
                                              band_with_scale(not_scanned, under_threshold));
    EXPECT_EQ(file.indices, (std::vector<std::uint8_t>{0, 255, 0}));
    EXPECT_TRUE(log.has("debug",
                        "Palette data range: [3.40282e+38, -3.40282e+38], mapping to indices "
                        "[1, 254]"));
}

TEST(PaletteConversion, WithoutLinearScaleOnlyNonFiniteSamplesAreNodata) {
    LogCapture log;
    const PaletteFile file =
        convert_and_read({not_scanned, under_threshold, 0, infinity}, pb::RasterData());
    EXPECT_EQ(file.indices, (std::vector<std::uint8_t>{1, 29, 254, 0}));
    for (const auto& record : log.records()) {
        EXPECT_NE(record.second.rfind("Palette: ", 0), 0u) << record.second;
    }
}

TEST(PaletteConversion, RangeBeyondFloatStaysDefined) {
    // max - min overflows to infinity; the top sample's quotient is then NaN.
    const float huge = std::numeric_limits<float>::max();
    const PaletteFile file = convert_and_read({-huge, huge, 0}, pb::RasterData());
    EXPECT_EQ(file.indices, (std::vector<std::uint8_t>{1, 254, 1}));
}

TEST(PaletteConversion, RejectsStorageTypesOtherThanFloat32) {
    for (const pb::StorageType type : {pb::FLOAT64, pb::INT32, pb::UINT16}) {
        LogCapture log;
        qrdcvt::ColorTable table{};
        bool written = true;
        write_and_read(
            1,
            [&](TIFF* tiff) {
                return qrdcvt::convert_to_palette(float_block({1, 2}), type, pb::RasterData(),
                                                  1, 1, table, nullptr, tiff);
            },
            &written);
        EXPECT_FALSE(written);
        EXPECT_TRUE(log.has("error", "Unsupported conversion from storage type " +
                                         std::to_string(type) + " to UINT8 for palette"));
    }
}

TEST(PaletteConversion, RejectsBlockOfWrongSize) {
    LogCapture log;
    qrdcvt::ColorTable table{};
    bool written = true;
    write_and_read(
        2,
        [&](TIFF* tiff) {
            return qrdcvt::convert_to_palette(float_block({1, 2, 3}), pb::FLOAT32,
                                              pb::RasterData(), 2, 2, table, nullptr, tiff);
        },
        &written);
    EXPECT_FALSE(written);
    EXPECT_TRUE(log.has("error", "Float data size mismatch: expected 16 bytes, got 12 bytes"));
}

TEST(PaletteColorMap, SampledFromScaleOverDataRange) {
    const qrdcvt::ColorMapper scale = three_colour_scale();
    qrdcvt::ColorTable table{};
    const PaletteFile file = convert_and_read({0, 100}, pb::RasterData(), &scale, &table);
    ASSERT_EQ(file.colors.size(), 256u);
    EXPECT_EQ(file.colors[0], nodata_colour);
    EXPECT_EQ(file.colors[1], blue);     // value 0
    EXPECT_EQ(file.colors[26], blue);    // 25 / 253 * 100 = 9.88
    EXPECT_EQ(file.colors[27], green);   // 26 / 253 * 100 = 10.28
    EXPECT_EQ(file.colors[127], green);  // 49.8
    EXPECT_EQ(file.colors[128], red);    // 50.2
    EXPECT_EQ(file.colors[254], red);    // value 100
    EXPECT_EQ(file.colors[255], no_echo_colour);
    EXPECT_EQ(table[27], green);
    EXPECT_EQ(file.interpretation, GCI_PaletteIndex);
    EXPECT_FALSE(file.has_nodata);
}

TEST(PaletteColorMap, GreyRampWithFallbackEndsWithoutScale) {
    LogCapture log;
    const PaletteFile file = convert_and_read({0, 100}, pb::RasterData());
    ASSERT_EQ(file.colors.size(), 256u);
    EXPECT_EQ(file.colors[0], grey);
    EXPECT_EQ(file.colors[1], (Rgba{1, 1, 1, 255}));
    EXPECT_EQ(file.colors[128], (Rgba{128, 128, 128, 255}));
    EXPECT_EQ(file.colors[254], (Rgba{254, 254, 254, 255}));
    EXPECT_EQ(file.colors[255], grey);
    EXPECT_FALSE(file.has_nodata);
    EXPECT_TRUE(log.has("debug", "No palette color scale, using grayscale colormap"));
}

// Writes raw UINT8 indices with the colour map of write_uint8_palette_colormap.
PaletteFile uint8_band_and_read(const std::vector<std::uint8_t>& bytes,
                                const pb::RasterData& band, const qrdcvt::ColorMapper* scale) {
    return write_and_read(static_cast<std::uint32_t>(bytes.size()), [&](TIFF* tiff) {
        qrdcvt::ColorTable table{};
        qrdcvt::write_uint8_palette_colormap(tiff, band, scale, table);
        qrdcvt::SampleBlock block = qrdcvt::SampleBlock::allocate(bytes.size());
        std::copy(bytes.begin(), bytes.end(), block.data());
        return block;
    });
}

TEST(Uint8PaletteColorMap, ScaleColoursAtPhysicalValuesOfRawCodes) {
    // Raw code k stands for k * 0.5 - 10.
    qrdcvt::ColorMapper scale;
    scale.scales = {interval(-100, -0.1f, blue), interval(0, 50, green),
                    interval(50.4f, infinity, red)};
    scale.nodata.rgba = nodata_colour;
    scale.no_echo.rgba = no_echo_colour;
    const std::vector<std::uint8_t> bytes = {0, 19, 20, 120, 121, 255};
    const PaletteFile file =
        uint8_band_and_read(bytes, band_with_scale(0, 255, 0.5, -10), &scale);
    ASSERT_EQ(file.colors.size(), 256u);
    EXPECT_EQ(file.colors[0], nodata_colour);
    EXPECT_EQ(file.colors[1], blue);     // -9.5
    EXPECT_EQ(file.colors[19], blue);    // -0.5
    EXPECT_EQ(file.colors[20], green);   // 0
    EXPECT_EQ(file.colors[120], green);  // 50
    EXPECT_EQ(file.colors[121], red);    // 50.5
    EXPECT_EQ(file.colors[254], red);    // 117
    EXPECT_EQ(file.colors[255], no_echo_colour);
    EXPECT_EQ(file.indices, bytes);
}

TEST(Uint8PaletteColorMap, GreyPaletteWithoutScaleOrLinearScale) {
    const qrdcvt::ColorMapper scale = three_colour_scale();
    struct Case {
        const char* name;
        pb::RasterData band;
        const qrdcvt::ColorMapper* scale;
    };
    const std::vector<Case> cases = {
        {"no scale", band_with_scale(0, 255, 0.5, -10), nullptr},
        {"no linear scale", pb::RasterData(), &scale},
    };
    for (const Case& c : cases) {
        const PaletteFile file = uint8_band_and_read({0, 7, 255}, c.band, c.scale);
        ASSERT_EQ(file.colors.size(), 256u) << c.name;
        EXPECT_EQ(file.colors[0], grey) << c.name;
        EXPECT_EQ(file.colors[1], (Rgba{1, 1, 1, 255})) << c.name;
        EXPECT_EQ(file.colors[254], (Rgba{254, 254, 254, 255})) << c.name;
        EXPECT_EQ(file.colors[255], grey) << c.name;
        EXPECT_EQ(file.indices, (std::vector<std::uint8_t>{0, 7, 255})) << c.name;
    }
}

TEST(PaletteScaleLookup, RgbFamilyFirstThenPaletteFamily) {
    qrdcvt::default_color_scales["lookup both"] = three_colour_scale();
    qrdcvt::default_color_scales_palette["lookup both"] = three_colour_scale();
    qrdcvt::default_color_scales_palette["lookup palette"] = three_colour_scale();

    LogCapture log;
    EXPECT_EQ(qrdcvt::find_palette_scale("SITE", "lookup both"),
              &qrdcvt::default_color_scales["lookup both"]);
    EXPECT_EQ(qrdcvt::find_palette_scale("SITE", "lookup palette"),
              &qrdcvt::default_color_scales_palette["lookup palette"]);
    EXPECT_EQ(qrdcvt::find_palette_scale("SITE", "lookup none"), nullptr);

    const std::vector<std::pair<std::string, std::string>> expected = {
        {"debug", "Using color palette color type"},
        {"debug", "Using color scale for instrument='SITE' product='lookup both'"},
        {"debug", "Using color palette color type"},
        {"debug", "Using color scale for instrument='SITE' product='lookup palette'"},
        {"debug", "Using color palette color type"},
        {"debug",
         "No color scale found for instrument='SITE' product='lookup none', using default "
         "grayscale"},
    };
    EXPECT_EQ(log.records(), expected);
}

}  // namespace
