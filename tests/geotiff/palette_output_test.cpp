#include "palette_output.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

#include "geotiff_test_support.h"

namespace {

namespace pb = qrd::pb::common;
using geotiff_test::convert_by_plan;
using qrdcvt::OutputMode;

constexpr float inf = std::numeric_limits<float>::infinity();

// The index loop does without roundf; it must round as roundf does, halfway quotients above all.
TEST(PaletteConversion, IndicesRoundHalfAwayFromZero) {
    std::vector<float> values{-1, 0.25f, 252.75f};
    for (int k = 0; k <= 253; ++k) {
        const float half = static_cast<float>(k) + 0.5f;
        values.insert(values.end(), {std::nextafter(half, -inf), half, std::nextafter(half, inf)});
    }
    const float min = *std::min_element(values.begin(), values.end());
    const float span = *std::max_element(values.begin(), values.end()) - min;
    std::vector<std::uint8_t> expected;
    for (const float value : values) {
        const float index = std::round((value - min) / span * 253.0f) + 1.0f;
        expected.push_back(static_cast<std::uint8_t>(std::clamp(index, 1.0f, 254.0f)));
    }
    const qrdcvt::ConvertedBand indices =
        convert_by_plan(OutputMode::PALETTE, pb::FLOAT32, values, values.size());
    EXPECT_EQ(geotiff_test::values_of<std::uint8_t>(indices.block), expected);
}

}  // namespace
