#include "color_lookup.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

using qrdcvt::ColorMapper;

constexpr float inf = std::numeric_limits<float>::infinity();

TEST(ColorLookupTest, DescriptionTextTruncatesAndSaturatesBounds) {
    const ColorMapper example{
        {{20.5f, -10, {0, 0, 255, 255}}, {inf, 20.5f, {255, 0, 0, 255}}}, {}, {}};
    EXPECT_EQ(qrdcvt::color_table_description(&example, "P"),
              "{'Product': 'P', 'RGBA_List': [{'Values': [-10, 20], 'RGBA': ['0', '0', '255', "
              "'255']}, {'Values': [20, ''], 'RGBA': ['255', '0', '0', '255']}]}");
    EXPECT_EQ(qrdcvt::color_table_description(nullptr, "P"), "");
    const ColorMapper empty;
    EXPECT_EQ(qrdcvt::color_table_description(&empty, "P"), "{'Product': 'P', 'RGBA_List': []}");

    // Bounds truncate toward zero and saturate; only a -infinity lower bound is blank.
    const ColorMapper bounds{
        {{1e10f, -2.7f, {1, 2, 3, 4}}, {-inf, inf, {1, 2, 3, 4}}, {-1e10f, -inf, {1, 2, 3, 4}}},
        {},
        {}};
    EXPECT_EQ(qrdcvt::color_table_description(&bounds, "B"),
              "{'Product': 'B', 'RGBA_List': [{'Values': [-2, 2147483647], 'RGBA': ['1', '2', "
              "'3', '4']}, {'Values': [2147483647, ''], 'RGBA': ['1', '2', '3', '4']}, "
              "{'Values': ['', -2147483648], 'RGBA': ['1', '2', '3', '4']}]}");
}

}  // namespace
