#include "palette_output.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

#include "geotiff_test_support.h"

namespace {

namespace pb = qrd::pb::common;
using geotiff_test::convert_by_plan;
using qrdcvt::OutputMode;
using Rgba = std::array<std::uint8_t, 4>;

constexpr float inf = std::numeric_limits<float>::infinity();
const Rgba blue = {0, 0, 255, 255}, green = {0, 255, 0, 255}, red = {255, 0, 0, 255};
const Rgba nodata_colour = {10, 20, 30, 255}, no_echo_colour = {40, 50, 60, 255};

// Interval bounds are {upper, lower}.
const qrdcvt::ColorMapper three_colours{{{10, -100, blue}, {50, 10.1f, green}, {inf, 50.1f, red}},
                                        {1, 1, nodata_colour},
                                        {1, 1, no_echo_colour}};

qrdcvt::ColorScaleChoice palette_scale(const qrdcvt::ColorMapper* scale) {
    qrdcvt::ColorScaleChoice colors;
    colors.palette = scale;
    return colors;
}

TEST(PaletteConversion, ColorMapsTakeTheScaleColours) {
    const qrdcvt::ColorTable map =
        *convert_by_plan<float>(OutputMode::PALETTE, pb::FLOAT32, {0, 100}, 2, {},
                                palette_scale(&three_colours))
             .color_map;
    // Entry k stands for (k - 1) / 253 x 100: 9.88 at 26, 10.28 at 27.
    EXPECT_EQ((std::vector<Rgba>{map[0], map[1], map[26], map[27], map[254], map[255]}),
              (std::vector<Rgba>{nodata_colour, blue, blue, green, red, no_echo_colour}));

    // A UINT8 band's raw code k stands for k x 0.5 - 10: 10 at 40, 10.5 at 41, 50.5 at 121.
    const qrdcvt::ConvertedBand uint8 = convert_by_plan<std::uint8_t>(
        OutputMode::PALETTE, pb::UINT8, {7}, 1, geotiff_test::linear_scale(0, 255, 0.5, -10),
        palette_scale(&three_colours));
    const qrdcvt::ColorTable& codes = *uint8.color_map;
    EXPECT_EQ((std::vector<Rgba>{codes[0], codes[40], codes[41], codes[121], codes[255]}),
              (std::vector<Rgba>{nodata_colour, blue, green, red, no_echo_colour}));
    EXPECT_EQ(geotiff_test::values_of<std::uint8_t>(uint8.block), std::vector<std::uint8_t>{7});
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
    const qrdcvt::ConvertedBand indices =
        convert_by_plan(OutputMode::PALETTE, pb::FLOAT32, values, values.size());
    EXPECT_EQ(geotiff_test::values_of<std::uint8_t>(indices.block), expected);
}

}  // namespace
