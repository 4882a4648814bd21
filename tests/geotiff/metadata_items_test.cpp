#include "metadata_items.h"

#include <gtest/gtest.h>

namespace {

TEST(UnitToString, GivesTheTextOfEachCode) {
    const char* const texts[] = {"",        "",      "dB",    "dBZ",    "dB/km",  "m/s",
                                 "degrees", "m",     "km",    "",       "%",      "",
                                 "deg/km",  "deg/m", "mm",    "mm/km",  "mm/m",   "dBZ*km",
                                 "dBZ*m",   "mm/h",  "m/s/m", "m/s/km", "m/s/deg"};
    for (int code = 0; code < 23; ++code) EXPECT_EQ(qrdcvt::unit_to_string(code), texts[code]);
    for (int code : {23, 24, 1000, -1}) EXPECT_EQ(qrdcvt::unit_to_string(code), "") << code;
}

}  // namespace
