#include "color_mapper.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <tuple>
#include <utility>
#include <vector>

namespace {

using qrdcvt::color_scale;
using qrdcvt::ColorMapper;
using Rgba = std::array<std::uint8_t, 4>;

constexpr float inf = std::numeric_limits<float>::infinity();
const Rgba grey = {180, 180, 180, 255};
const Rgba red = {255, 0, 0, 255};
const Rgba green = {0, 255, 0, 255};
const Rgba blue = {0, 0, 255, 255};

ColorMapper mapper(std::vector<color_scale> scales) {
    ColorMapper result;
    result.scales = std::move(scales);
    return result;
}

struct GetScalesCase {
    const char* what;
    ColorMapper mapper;
    float value;
    Rgba expected;
};

const ColorMapper shared_bound = mapper({{10, 0, red}, {20, 10, green}});
const ColorMapper gap = mapper({{10, 0, red}, {30, 20, green}});
const ColorMapper open_top = mapper({{10, 0, red}, {inf, 30, green}});
const ColorMapper inverted = mapper({{10, 20, blue}});
// 2^-30 is 1 + 2^-30 from -1 and 1 - 2^-30 from 1: equal in float32, not in double.
const ColorMapper unit_points = mapper({{-1, -1, red}, {1, 1, green}});

const GetScalesCase get_scales_cases[] = {
    {"inside the first interval", shared_bound, 5, red},
    {"shared bound goes to the interval listed first", shared_bound, 10, red},
    {"inside the second interval", shared_bound, 15, green},
    {"gap: nearer the lower interval", gap, 14, red},
    {"gap: nearer the upper interval", gap, 16, green},
    {"gap: equal distances keep the earlier interval", gap, 15, red},
    {"below every interval takes the bottom colour", shared_bound, -1e30f, red},
    {"above every interval takes the top colour", shared_bound, 1000, green},
    {"far above, float32 distances tie: the first wins", shared_bound, 1e30f, red},
    {"open top contains huge values", open_top, 1e30f, green},
    {"open top contains +infinity", open_top, inf, green},
    {"open top: gap below it uses its lower bound", open_top, 25, green},
    {"open top never wins by its upper distance", open_top, -inf, grey},
    {"+infinity without an open top", shared_bound, inf, grey},
    {"-infinity", shared_bound, -inf, grey},
    {"NaN", open_top, std::nanf(""), grey},
    {"inverted interval contains nothing but is nearest", inverted, 15, blue},
    {"distances are float32", unit_points, std::ldexp(1.0f, -30), red},
};

TEST(ColorMapperTest, GetScalesPicksContainingThenNearestThenGrey) {
    for (const GetScalesCase& c : get_scales_cases) {
        EXPECT_EQ(c.mapper.get_scales(c.value).rgba, c.expected) << c.what;
    }
}

TEST(ColorMapperTest, FallbackNodataAndNoEchoAreGrey) {
    const ColorMapper empty;
    const color_scale fallback = empty.get_scales(1);
    EXPECT_EQ(std::make_tuple(fallback.lower, fallback.upper, fallback.rgba),
              std::make_tuple(0.0f, 0.0f, grey));
    EXPECT_EQ(empty.nodata.rgba, grey);
    EXPECT_EQ(empty.no_echo.rgba, grey);
}

}  // namespace
