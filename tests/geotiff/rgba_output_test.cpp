#include "rgba_output.h"

#include <gtest/gtest.h>

#include <limits>

#include "color_scale_files.h"
#include "geotiff_test_support.h"

namespace {

namespace pb = qrd::pb::common;
using geotiff_test::band_with_scale;
using Rgba = std::array<std::uint8_t, 4>;

constexpr float inf = std::numeric_limits<float>::infinity();

// values as a row of width pixels, one or three channels by their count; empty on failure.
std::vector<Rgba> convert(const std::vector<float>& values, std::uint32_t width,
                          const pb::RasterData& band, const std::string& product_name) {
    return geotiff_test::values_of<Rgba>(qrdcvt::convert_to_rgba(
        geotiff_test::block_of(values), pb::FLOAT32, band, width, 1, "SITE", product_name, {}));
}

Rgba grey(std::uint8_t level) { return {level, level, level, 255}; }

TEST(RgbaSingleChannel, PixelsTakeTableEntriesByTruncation) {
    // Entry 1 stands for 100 / 254 = 0.39, entry 127 for 50 and entry 254 for 100.
    qrdcvt::default_color_scales["entries"] = {{{0.2f, -10, grey(101)},
                                                {49.9f, 0.3f, grey(102)},
                                                {50.05f, 49.95f, grey(103)},
                                                {99.9f, 50.1f, grey(104)},
                                                {inf, 100, grey(105)}},
                                               {},
                                               {}};
    EXPECT_EQ(convert({0, 50, 100}, 3, pb::RasterData(), "entries"),
              (std::vector<Rgba>{grey(102), grey(103), grey(105)}));
    // Without a scale, the grey ramp: 1 / 3 x 254 = 84.67 truncated.
    EXPECT_EQ(convert({0, 1, 3}, 3, pb::RasterData(), "none"),
              (std::vector<Rgba>{grey(1), grey(84), grey(254)}));
    // Only the RGB family counts.
    qrdcvt::default_color_scales_palette["palette only"] = {{{1000, -1000, grey(101)}}, {}, {}};
    EXPECT_EQ(convert({0, 10}, 2, pb::RasterData(), "palette only"),
              (std::vector<Rgba>{grey(1), grey(254)}));
}

TEST(RgbaThreeChannels, ComponentsScaledTruncatedAndClamped) {
    const struct {
        std::vector<float> components;
        pb::RasterData band;  // not scanned -1, under threshold 7
        Rgba pixel;
    } cases[] = {
        {{10, 20, 30}, band_with_scale(-1, 7, 2, 4), {7, 12, 17, 255}},  // (c + offset) / step
        {{1.9f, -0.5f, 255.5f}, pb::RasterData(), {1, 0, 255, 255}},
        {{1, 2, -1}, band_with_scale(-1, 7), {0, 0, 0, 0}},
        {{7, 7, 7}, band_with_scale(-1, 7), {7, 7, 7, 255}},
        {{inf, -inf, 1}, pb::RasterData(), {255, 0, 1, 255}},
        {{1e30f, -1e30f, 3e9f}, pb::RasterData(), {255, 0, 255, 255}},
        {{0, 5, -5}, band_with_scale(-1, 7, 0), {0, 255, 0, 255}},  // a zero step
    };
    for (const auto& c : cases) {
        EXPECT_EQ(convert(c.components, 1, c.band, "none"), std::vector<Rgba>{c.pixel})
            << c.components[0] << " " << c.components[1] << " " << c.components[2];
    }
}

TEST(RgbaConversion, RefusesAnUnexpectedSize) {
    const geotiff_test::LogCapture log;
    EXPECT_TRUE(convert({1, 2}, 1, pb::RasterData(), "none").empty());
    EXPECT_TRUE(log.has("error", "Unexpected data size for RGB: 8 bytes (expected 4 or 12)"));
}

}  // namespace
