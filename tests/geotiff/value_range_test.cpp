#include "value_range.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

namespace {

constexpr float nan_value = std::numeric_limits<float>::quiet_NaN();
constexpr float inf = std::numeric_limits<float>::infinity();
constexpr float largest = std::numeric_limits<float>::max();

// The range of values with the codes -999 (not scanned) and -998 (under threshold).
qrdcvt::ValueRange range_of(const std::vector<float>& values) {
    return qrdcvt::find_value_range(reinterpret_cast<const std::uint8_t*>(values.data()),
                                    values.size(), -999, -998);
}

bool same_bits(float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// Samples are scanned several at a time; the result must be a scan in order's, down to the sign
// of a zero, whichever lane and whichever leftover sample each value falls on.
TEST(ValueRange, AsAScanInOrderFindsIt) {
    struct Case {
        const char* name;
        std::vector<float> values;
        float min, max;
        std::size_t valid;
    };
    const Case cases[] = {
        {"none", {}, largest, -largest, 0},
        {"leftovers only", {3, -2, 7}, -2, 7, 3},
        {"lanes and leftovers", {5, 1, 9, 4, 8, 2, 6, 3, 0.5f}, 0.5f, 9, 9},
        {"non-finite skipped", {nan_value, inf, -inf, 2, nan_value, -inf, inf, 1, 4}, 1, 4, 3},
        {"codes skipped", {-999, 10, -998, 20, -999, -998, 15, -999, -998}, 10, 20, 3},
        {"first zero kept", {5, 0.0f, 6, -0.0f, 7, 8, 9, 10, 0.0f}, 0.0f, 10, 9},
        {"first negative zero kept", {-0.0f, 1, 2, 0.0f, 3, 4, 5, 6}, -0.0f, 6, 8},
        {"zero maximum", {-5, -1, -0.0f, 0.0f, -3, -2, -4, -6}, -6, -0.0f, 8},
        {"only zeros", {0.0f, -0.0f, 0.0f, -0.0f, -0.0f}, 0.0f, 0.0f, 5},
        {"no valid sample", {-999, nan_value, -998, inf, -999, -999}, largest, -largest, 0},
    };
    for (const Case& c : cases) {
        const qrdcvt::ValueRange range = range_of(c.values);
        EXPECT_TRUE(same_bits(range.min, c.min)) << c.name << ": min " << range.min;
        EXPECT_TRUE(same_bits(range.max, c.max)) << c.name << ": max " << range.max;
        EXPECT_EQ(range.valid_count, c.valid) << c.name;
    }
}

}  // namespace
