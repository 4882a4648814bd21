#include "configuration.h"

#include <boost/property_tree/ini_parser.hpp>
#include <gtest/gtest.h>

#include <sstream>

namespace {

TEST(Configuration, SingleBandIsOnOnlyForExactTopLevelValues) {
    const struct {
        std::string config;
        bool on;
    } cases[] = {
        {"single_band = enabled", true},
        {"single_band = true", true},
        {"single_band = 1", true},
        {"single_band = yes", false},
        {"single_band = 0", false},
        {"single_band = false", false},
        {"single_band = True", false},
        {"append_log = true", false},
        {"[single_band]\nenabled = true", false},
        {"[site]\nsingle_band = enabled", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.config);
        std::istringstream text(c.config);
        boost::property_tree::ptree conf;
        boost::property_tree::ini_parser::read_ini(text, conf);
        ::testing::internal::CaptureStderr();
        EXPECT_EQ(qrdcvt::single_band_mode(conf), c.on);
        const bool announced = ::testing::internal::GetCapturedStderr().find(
                                   "Single-band mode enabled: outputting real scientific "
                                   "values\n") != std::string::npos;
        EXPECT_EQ(announced, c.on);
    }
}

}  // namespace
