#include "palette_output.h"

#include <gtest/gtest.h>
#include <tiffio.h>

#include <algorithm>
#include <cmath>
#include <limits>

#include "color_scale_files.h"
#include "geotiff_test_support.h"

namespace {

namespace pb = qrd::pb::common;
using geotiff_test::band_with_scale;
using geotiff_test::block_of;
using Rgba = std::array<std::uint8_t, 4>;

constexpr float inf = std::numeric_limits<float>::infinity();
const Rgba blue = {0, 0, 255, 255}, green = {0, 255, 0, 255}, red = {255, 0, 0, 255};
const Rgba nodata_colour = {10, 20, 30, 255}, no_echo_colour = {40, 50, 60, 255};

// A TIFF for the colour maps to be written into, discarded afterwards.
struct ScratchTiff {
    ScratchTiff() { TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, 8); }
    ~ScratchTiff() { TIFFClose(tiff); }
    const radmill_test::TempInstall dir;
    TIFF* const tiff = TIFFOpen(dir.path("palette.tif").c_str(), "w");
};

// The colour map that convert_to_palette builds for values as one FLOAT32 row.
qrdcvt::ColorTable colour_map_of(const std::vector<float>& values,
                                 const qrdcvt::ColorMapper* scale) {
    qrdcvt::ColorTable table{};
    qrdcvt::convert_to_palette(block_of(values), pb::FLOAT32, pb::RasterData(),
                               static_cast<std::uint32_t>(values.size()), 1, table, scale,
                               ScratchTiff().tiff);
    return table;
}

// Interval bounds are {upper, lower}.
const qrdcvt::ColorMapper three_colours{{{10, -100, blue}, {50, 10.1f, green}, {inf, 50.1f, red}},
                                        {1, 1, nodata_colour},
                                        {1, 1, no_echo_colour}};

TEST(PaletteConversion, ColorMapsTakeTheScaleColours) {
    qrdcvt::ColorTable table = colour_map_of({0, 100}, &three_colours);
    // Entry k stands for (k - 1) / 253 x 100: 9.88 at 26, 10.28 at 27.
    EXPECT_EQ((std::vector<Rgba>{table[0], table[1], table[26], table[27], table[254], table[255]}),
              (std::vector<Rgba>{nodata_colour, blue, blue, green, red, no_echo_colour}));

    // A UINT8 band's raw code k stands for k x 0.5 - 10: 10 at 40, 10.5 at 41, 50.5 at 121.
    qrdcvt::write_uint8_palette_colormap(ScratchTiff().tiff, band_with_scale(0, 255, 0.5, -10),
                                         &three_colours, table);
    EXPECT_EQ((std::vector<Rgba>{table[0], table[40], table[41], table[121], table[255]}),
              (std::vector<Rgba>{nodata_colour, blue, green, red, no_echo_colour}));
}

// The index loop does without roundf; it must round as roundf does, halfway quotients above all.
TEST(PaletteConversion, IndicesRoundHalfAwayFromZero) {
    std::vector<float> values{-1, 0.25f, 252.75f};
    for (int k = 0; k <= 253; ++k) {
        const float half = static_cast<float>(k) + 0.5f;
        values.insert(values.end(), {std::nextafter(half, -inf), half, std::nextafter(half, inf)});
    }
    const float min = *std::min_element(values.begin(), values.end());
    const float span = *std::max_element(values.begin(), values.end()) - min;
    std::vector<std::uint8_t> expected;
    for (const float value : values) {
        const float index = std::round((value - min) / span * 253.0f) + 1.0f;
        expected.push_back(static_cast<std::uint8_t>(std::clamp(index, 1.0f, 254.0f)));
    }
    qrdcvt::ColorTable table{};
    const qrdcvt::SampleBlock indices = qrdcvt::convert_to_palette(
        block_of(values), pb::FLOAT32, pb::RasterData(), static_cast<std::uint32_t>(values.size()),
        1, table, nullptr, ScratchTiff().tiff);
    EXPECT_EQ(geotiff_test::values_of<std::uint8_t>(indices), expected);
}

TEST(PaletteConversion, RefusesABlockOfTheWrongSize) {
    const geotiff_test::LogCapture log;
    qrdcvt::ColorTable table{};
    EXPECT_FALSE(qrdcvt::convert_to_palette(block_of<float>({1, 2, 3}), pb::FLOAT32,
                                            pb::RasterData(), 2, 1, table, nullptr,
                                            ScratchTiff().tiff));
    EXPECT_TRUE(log.has("error", "Float data size mismatch: expected 8 bytes, got 12 bytes"));
}

TEST(PaletteScaleLookup, RgbFamilyFirstThenPaletteFamily) {
    qrdcvt::default_color_scales["both"] = three_colours;
    qrdcvt::default_color_scales_palette["both"] = three_colours;
    qrdcvt::default_color_scales_palette["palette"] = three_colours;
    EXPECT_EQ(qrdcvt::find_palette_scale("SITE", "both"), &qrdcvt::default_color_scales["both"]);
    EXPECT_EQ(qrdcvt::find_palette_scale("SITE", "palette"),
              &qrdcvt::default_color_scales_palette["palette"]);
    const geotiff_test::LogCapture log;
    EXPECT_EQ(qrdcvt::find_palette_scale("SITE", "none"), nullptr);
    EXPECT_TRUE(log.has("debug",
                        "No color scale found for instrument='SITE' product='none', "
                        "using default grayscale"));
}

}  // namespace
