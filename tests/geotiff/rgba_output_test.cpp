#include "rgba_output.h"

#include <gtest/gtest.h>

#include <limits>

#include "geotiff_test_support.h"

namespace {

namespace pb = qrd::pb::common;
using geotiff_test::linear_scale;
using Rgba = std::array<std::uint8_t, 4>;

constexpr float inf = std::numeric_limits<float>::infinity();
constexpr float nan_value = std::numeric_limits<float>::quiet_NaN();

// values as a row of width pixels, one or three channels by their count.
std::vector<Rgba> convert(const std::vector<float>& values, std::uint32_t width,
                          const qrdcvt::BandScale& scale = {},
                          const qrdcvt::ColorMapper* rgb_scale = nullptr) {
    qrdcvt::ColorScaleChoice colors;
    colors.rgb = rgb_scale;
    return geotiff_test::values_of<Rgba>(geotiff_test::convert_by_plan(qrdcvt::OutputMode::RGB,
                                                                       pb::FLOAT32, values, width,
                                                                       scale, colors)
                                             .block);
}

Rgba grey(std::uint8_t level) { return {level, level, level, 255}; }

// Without a scale, the grey ramp, entries taken by truncation: 1 / 3 x 254 = 84.67.
TEST(RgbaSingleChannel, PixelsTakeTableEntriesByTruncation) {
    EXPECT_EQ(convert({0, 1, 3}, 3), (std::vector<Rgba>{grey(1), grey(84), grey(254)}));
}

// The counts span the chunks the pixels are coloured in: 4097 pixels, two of them not finite.
// A code takes part in the range as any value.
TEST(RgbaSingleChannel, DebugLinesCountTheSamplesLeftOut) {
    std::vector<float> values(4097);
    for (std::size_t i = 0; i < values.size(); ++i) values[i] = static_cast<float>(i);
    values[1] = nan_value;
    values[2] = inf;
    values[3] = -999;
    const geotiff_test::LogCapture log;
    convert(values, 4097);
    EXPECT_TRUE(log.has("debug", "Data stats: valid=4095, nan/inf=2, range=[-999, 4096]"));
    EXPECT_TRUE(log.has("debug", "Colormap applied: 4095 opaque pixels, 2 transparent pixels"));
}

TEST(RgbaThreeChannels, ComponentsScaledTruncatedAndClamped) {
    const struct {
        std::vector<float> components;
        qrdcvt::BandScale scale;  // not scanned -1, under threshold 7
        Rgba pixel;
    } cases[] = {
        {{10, 20, 30}, linear_scale(-1, 7, 2, 4), {7, 12, 17, 255}},  // (c + offset) / step
        {{1.9f, -0.5f, 255.5f}, {}, {1, 0, 255, 255}},
        // Any one component NaN or not scanned makes the pixel transparent.
        {{1, 2, -1}, linear_scale(-1, 7), {0, 0, 0, 0}},
        {{-1, 2, 3}, linear_scale(-1, 7), {0, 0, 0, 0}},
        {{1, -1, 3}, linear_scale(-1, 7), {0, 0, 0, 0}},
        {{nan_value, 2, 3}, {}, {0, 0, 0, 0}},
        {{1, nan_value, 3}, {}, {0, 0, 0, 0}},
        {{1, 2, nan_value}, {}, {0, 0, 0, 0}},
        {{7, 7, 7}, linear_scale(-1, 7), {7, 7, 7, 255}},
        {{inf, -inf, 1}, {}, {255, 0, 1, 255}},
        {{1e30f, -1e30f, 3e9f}, {}, {255, 0, 255, 255}},
        {{0, 5, -5}, linear_scale(-1, 7, 0), {0, 255, 0, 255}},  // a zero step
    };
    for (const auto& c : cases) {
        EXPECT_EQ(convert(c.components, 1, c.scale), std::vector<Rgba>{c.pixel})
            << c.components[0] << " " << c.components[1] << " " << c.components[2];
    }
}

}  // namespace
