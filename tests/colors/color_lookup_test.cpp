#include "color_lookup.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

#include "color_scale_files.h"

namespace {

using qrdcvt::color_scale;
using qrdcvt::ColorMapper;

constexpr float inf = std::numeric_limits<float>::infinity();

// A scale whose one interval carries id in its red byte, so a lookup result names its origin.
ColorMapper tagged(std::uint8_t id) {
    ColorMapper mapper;
    mapper.scales.push_back({1, 0, {id, 0, 0, 255}});
    return mapper;
}

int id_of(const ColorMapper* mapper) {
    return mapper == nullptr ? 0 : mapper->scales.at(0).rgba[0];
}

struct LookupCase {
    const char* instrument;
    const char* product;
    bool palette_family;
    int expected_id;  // 0 for no scale
};

TEST(ColorLookupTest, FindColorMapperPrefersCustomThenDefault) {
    // Product names are private to this test: the maps are process-wide.
    qrdcvt::custom_color_scales["LookupSite"]["LookupBoth"] = tagged(1);
    qrdcvt::custom_color_scales["LookupSite"]["LookupCustomOnly"] = tagged(2);
    qrdcvt::custom_color_scales[""]["LookupBoth"] = tagged(3);
    qrdcvt::default_color_scales["LookupBoth"] = tagged(4);
    qrdcvt::default_color_scales["LookupDefaultOnly"] = tagged(5);
    qrdcvt::custom_color_scales_palette["LookupSite"]["LookupBoth"] = tagged(6);
    qrdcvt::default_color_scales_palette["LookupPaletteOnly"] = tagged(7);

    const LookupCase cases[] = {
        {"LookupSite", "LookupBoth", false, 1},         // custom beats default
        {"LookupSite", "LookupCustomOnly", false, 2},   // no default needed
        {"LookupSite", "LookupDefaultOnly", false, 5},  // instrument without the product
        {"OtherSite", "LookupBoth", false, 4},          // instrument not in the custom map
        {"", "LookupBoth", false, 4},                   // empty name never reaches custom
        {"lookupsite", "LookupBoth", false, 4},         // byte-wise keys
        {"LookupSite", "lookupboth", false, 0},
        {"LookupSite", "LookupMissing", false, 0},
        {"LookupSite", "LookupPaletteOnly", false, 0},  // families are separate
        {"LookupSite", "LookupBoth", true, 6},
        {"OtherSite", "LookupPaletteOnly", true, 7},
        {"OtherSite", "LookupDefaultOnly", true, 0},
    };
    for (const LookupCase& c : cases) {
        EXPECT_EQ(id_of(qrdcvt::find_color_mapper(c.instrument, c.product, c.palette_family)),
                  c.expected_id)
            << "instrument '" << c.instrument << "' product '" << c.product << "' palette "
            << c.palette_family;
    }
}

TEST(ColorLookupTest, FindColorMapperPointsIntoTheMap) {
    qrdcvt::default_color_scales["LookupPointer"] = tagged(8);
    EXPECT_EQ(qrdcvt::find_color_mapper("", "LookupPointer", false),
              &qrdcvt::default_color_scales.at("LookupPointer"));
}

TEST(ColorLookupTest, DescriptionText) {
    ColorMapper scale;
    scale.scales = {{20.5f, -10, {0, 0, 255, 255}}, {inf, 20.5f, {255, 0, 0, 255}}};
    EXPECT_EQ(qrdcvt::color_table_description(&scale, "P"),
              "{'Product': 'P', 'RGBA_List': [{'Values': [-10, 20], 'RGBA': ['0', '0', '255', "
              "'255']}, {'Values': [20, ''], 'RGBA': ['255', '0', '0', '255']}]}");

    const ColorMapper empty;
    EXPECT_EQ(qrdcvt::color_table_description(&empty, "P"), "{'Product': 'P', 'RGBA_List': []}");
    EXPECT_EQ(qrdcvt::color_table_description(&empty, "it's"),
              "{'Product': 'it's', 'RGBA_List': []}");
    EXPECT_EQ(qrdcvt::color_table_description(nullptr, "P"), "");
}

struct BoundsCase {
    float lower;
    float upper;
    const char* values;
};

TEST(ColorLookupTest, DescriptionBoundsTruncateAndSaturate) {
    const BoundsCase cases[] = {
        {-2.7f, 3.9f, "[-2, 3]"},  // toward zero
        {-0.5f, 0.5f, "[0, 0]"},
        {-inf, inf, "['', '']"},
        {inf, -inf, "[2147483647, '']"},  // only a -infinity lower bound is blank
        {1e10f, -1e10f, "[2147483647, -2147483648]"},
        {2147483520.0f, -2147483648.0f, "[2147483520, -2147483648]"},  // largest in range
        {std::nanf(""), std::nanf(""), "[0, 0]"},
    };
    for (const BoundsCase& c : cases) {
        ColorMapper scale;
        scale.scales = {{c.upper, c.lower, {1, 2, 3, 4}}};
        EXPECT_EQ(qrdcvt::color_table_description(&scale, "B"),
                  std::string("{'Product': 'B', 'RGBA_List': [{'Values': ") + c.values +
                      ", 'RGBA': ['1', '2', '3', '4']}]}")
            << c.lower << " " << c.upper;
    }
}

}  // namespace
