#include "color_mapper.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

using qrdcvt::ColorMapper;
using Rgba = std::array<std::uint8_t, 4>;

constexpr float inf = std::numeric_limits<float>::infinity();
const Rgba grey = {180, 180, 180, 255};
const Rgba red = {255, 0, 0, 255};
const Rgba green = {0, 255, 0, 255};

TEST(ColorMapperTest, GetScalesPicksContainingThenNearestThenGrey) {
    // Intervals are {upper, lower, colour}.
    const ColorMapper shared_bound{{{10, 0, red}, {20, 10, green}}, {}, {}};
    const ColorMapper gap{{{10, 0, red}, {30, 20, green}}, {}, {}};
    const ColorMapper open_top{{{10, 0, red}, {inf, 30, green}}, {}, {}};
    // 2^-30 is 1 + 2^-30 from -1 and 1 - 2^-30 from 1: equal in float32, not in double.
    const ColorMapper unit_points{{{-1, -1, red}, {1, 1, green}}, {}, {}};
    const ColorMapper empty;
    const struct {
        const char* what;
        const ColorMapper& mapper;
        float value;
        Rgba expected;
    } cases[] = {
        {"shared bound goes to the interval listed first", shared_bound, 10, red},
        {"gap: nearer the lower interval", gap, 14, red},
        {"gap: nearer the upper interval", gap, 16, green},
        {"gap: equal distances keep the earlier interval", gap, 15, red},
        {"open top contains +infinity", open_top, inf, green},
        {"+infinity without an open top", shared_bound, inf, grey},
        {"NaN", open_top, std::nanf(""), grey},
        {"distances are float32", unit_points, std::ldexp(1.0f, -30), red},
        {"no intervals", empty, 1, grey},
    };
    for (const auto& c : cases) EXPECT_EQ(c.mapper.get_scales(c.value).rgba, c.expected) << c.what;
}

}  // namespace
