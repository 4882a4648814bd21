#include "color_lookup.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "color_scale_files.h"

namespace {

using qrdcvt::ColorMapper;

constexpr float inf = std::numeric_limits<float>::infinity();

// A scale whose one interval carries id in its red byte, so a lookup result names its origin.
ColorMapper tagged(std::uint8_t id) { return {{{1, 0, {id, 0, 0, 255}}}, {}, {}}; }

TEST(ColorLookupTest, FindColorMapperPrefersCustomThenDefault) {
    qrdcvt::custom_color_scales["Site"]["Both"] = tagged(1);
    qrdcvt::custom_color_scales[""]["Both"] = tagged(2);
    qrdcvt::default_color_scales["Both"] = tagged(3);
    qrdcvt::default_color_scales["DefaultOnly"] = tagged(4);
    qrdcvt::custom_color_scales_palette["Site"]["Both"] = tagged(5);
    const struct {
        const char* instrument;
        const char* product;
        bool palette_family;
        int expected_id;  // 0 for no scale
    } cases[] = {
        {"Site", "Both", false, 1},         // custom beats default
        {"Site", "DefaultOnly", false, 4},  // instrument without the product falls through
        {"", "Both", false, 3},             // an empty name never reaches the custom map
        {"Site", "Missing", false, 0},
        {"Site", "Both", true, 5},  // families are separate
    };
    for (const auto& c : cases) {
        const ColorMapper* found =
            qrdcvt::find_color_mapper(c.instrument, c.product, c.palette_family);
        EXPECT_EQ(found == nullptr ? 0 : found->scales.at(0).rgba[0], c.expected_id)
            << c.instrument << " " << c.product << " " << c.palette_family;
    }
}

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

// Each use of a scale has its own family order: palette output and the SCALE item look in
// both families, in opposite orders; RGB output only in the RGB family.
TEST(ColorLookupTest, ChooseColorScalesKeepsEachFamilyOrder) {
    qrdcvt::default_color_scales["Rgb and palette"] = tagged(11);
    qrdcvt::default_color_scales_palette["Rgb and palette"] = tagged(12);
    qrdcvt::default_color_scales_palette["Palette only"] = tagged(13);
    const auto id = [](const ColorMapper* scale) { return scale ? scale->scales[0].rgba[0] : 0; };

    const qrdcvt::ColorScaleChoice both = qrdcvt::choose_color_scales("Site", "Rgb and palette");
    EXPECT_EQ(id(both.palette), 11);
    EXPECT_EQ(id(both.rgb), 11);
    EXPECT_EQ(both.description,
              qrdcvt::color_table_description(
                  &qrdcvt::default_color_scales_palette["Rgb and palette"], "Rgb and palette"));
    EXPECT_NE(both.description,
              qrdcvt::color_table_description(&qrdcvt::default_color_scales["Rgb and palette"],
                                              "Rgb and palette"));

    const qrdcvt::ColorScaleChoice palette = qrdcvt::choose_color_scales("Site", "Palette only");
    EXPECT_EQ(id(palette.palette), 13);
    EXPECT_EQ(palette.rgb, nullptr);
    EXPECT_FALSE(palette.description.empty());
    EXPECT_TRUE(qrdcvt::choose_color_scales("Site", "None").description.empty());
}

}  // namespace
