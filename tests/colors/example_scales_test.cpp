#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "color_lookup.h"
#include "color_scale_files.h"

namespace {

TEST(ExampleScalesTest, ShippedFilesCoverTheSampleProducts) {
    const std::string dir = RADMILL_EXAMPLES_DIR "/install/";
    qrdcvt::load_color_scales(dir + "color_scales.json", dir + "default_color_scales.json");
    qrdcvt::load_palette_color_scales(dir + "color_scales_palette.json",
                                      dir + "default_color_scales_palette.json");
    for (const bool palette_family : {false, true}) {
        for (const char* product : {"DBZH", "RATE", "VRADH"}) {
            const qrdcvt::ColorMapper* mapper =
                qrdcvt::find_color_mapper("", product, palette_family);
            EXPECT_TRUE(mapper && !mapper->scales.empty() &&
                        std::isinf(mapper->scales.back().upper))
                << product;
        }
        // The named instrument has a reflectivity scale of its own.
        const qrdcvt::ColorMapper* hilltop =
            qrdcvt::find_color_mapper("Hilltop", "DBZH", palette_family);
        EXPECT_TRUE(hilltop && hilltop != qrdcvt::find_color_mapper("", "DBZH", palette_family));
    }
}

}  // namespace
