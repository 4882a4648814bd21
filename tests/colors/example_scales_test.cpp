#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "color_lookup.h"
#include "color_scale_files.h"

namespace {

const std::string install_dir = RADMILL_EXAMPLES_DIR "/install/";

// Shipped scales run upwards without gaps and end open at the top.
void expect_contiguous(const qrdcvt::ColorMapper* mapper, const std::string& what) {
    ASSERT_NE(mapper, nullptr) << what;
    ASSERT_FALSE(mapper->scales.empty()) << what;
    for (std::size_t i = 1; i < mapper->scales.size(); ++i) {
        EXPECT_EQ(mapper->scales[i].lower, mapper->scales[i - 1].upper)
            << what << " interval " << i;
        EXPECT_LT(mapper->scales[i].lower, mapper->scales[i].upper) << what << " interval " << i;
    }
    EXPECT_TRUE(std::isinf(mapper->scales.back().upper)) << what;
}

TEST(ExampleScalesTest, ShippedFilesCoverTheSampleProducts) {
    qrdcvt::load_color_scales(install_dir + "color_scales.json",
                              install_dir + "default_color_scales.json");
    qrdcvt::load_palette_color_scales(install_dir + "color_scales_palette.json",
                                      install_dir + "default_color_scales_palette.json");

    for (const bool palette_family : {false, true}) {
        const std::string family = palette_family ? "palette " : "rgb ";
        for (const char* product : {"DBZH", "RATE", "VRADH"}) {
            expect_contiguous(qrdcvt::find_color_mapper("", product, palette_family),
                              family + product);
        }
        const qrdcvt::ColorMapper* hilltop =
            qrdcvt::find_color_mapper("Hilltop", "DBZH", palette_family);
        expect_contiguous(hilltop, family + "Hilltop DBZH");
        EXPECT_NE(hilltop, qrdcvt::find_color_mapper("", "DBZH", palette_family)) << family;
    }

    // Radial velocity diverges: blue towards the radar, grey at rest, red away.
    const qrdcvt::ColorMapper* velocity = qrdcvt::find_color_mapper("", "VRADH", false);
    const auto towards = velocity->get_scales(-20).rgba;
    const auto still = velocity->get_scales(0).rgba;
    const auto away = velocity->get_scales(20).rgba;
    EXPECT_GT(towards[2], towards[0]);
    EXPECT_EQ(still[0], still[2]);
    EXPECT_GT(away[0], away[2]);
}

}  // namespace
