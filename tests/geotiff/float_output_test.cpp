#include "float_output.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>

#include "geotiff_test_support.h"

namespace {

namespace pb = qrd::pb::common;
using geotiff_test::block_of;
using geotiff_test::values_of;

// Cleans a band of the one sample value and checks that it stays or becomes quiet_nan.
template <typename T, typename Bits>
void expect_cleaned(T value, bool valid, Bits quiet_nan) {
    qrdcvt::SampleBlock block = block_of<T>({value});
    const pb::StorageType type = sizeof(T) == 8 ? pb::FLOAT64 : pb::FLOAT32;
    EXPECT_EQ(qrdcvt::clean_float_band(block.data(), type, 1, 1).valid_percent, valid ? 100 : 0)
        << value;
    const Bits stored = values_of<Bits>(block_of<T>({value}))[0];
    EXPECT_EQ(values_of<Bits>(block)[0], valid ? stored : quiet_nan) << value;
}

TEST(CleanFloatBand, SamplesAtOrBelowTheThresholdBecomeQuietNaN) {
    const double threshold = -3.3687952317214356e38;  // -0.99 x FLT_MAX
    const std::uint64_t nan64 = 0x7FF8000000000000u;
    expect_cleaned(std::nextafter(threshold, 0.0), true, nan64);
    expect_cleaned(threshold, false, nan64);
    expect_cleaned(-DBL_MAX, false, nan64);
    expect_cleaned(DBL_MAX, true, nan64);
    // Float samples are widened for the threshold; a signalling NaN becomes the quiet one.
    const std::uint32_t nan32 = 0x7FC00000u;
    expect_cleaned(-3.0e38f, true, nan32);
    expect_cleaned(-FLT_MAX, false, nan32);
    expect_cleaned(values_of<float>(block_of<std::uint32_t>({0xFF800001u}))[0], false, nan32);
}

TEST(CleanFloatBand, StatisticsOfTheValidSamples) {
    const auto statistics = [](qrdcvt::SampleBlock block, pb::StorageType type) {
        const auto count = static_cast<std::uint32_t>(block.size / (type == pb::FLOAT64 ? 8 : 4));
        const qrdcvt::BandStatistics s = qrdcvt::clean_float_band(block.data(), type, count, 1);
        return std::vector<double>{s.minimum, s.maximum, s.mean, s.stddev, s.valid_percent};
    };
    EXPECT_EQ(statistics(block_of<float>({1, -FLT_MAX, INFINITY, 3}), pb::FLOAT32),
              (std::vector<double>{1, 3, 2, 1, 50}));
    EXPECT_EQ(statistics(block_of<float>({NAN, NAN}), pb::FLOAT32), std::vector<double>(5, 0.0));
    // Never the root of a rounded-down negative variance.
    EXPECT_EQ(statistics(block_of<double>({0.1, 0.1, 0.1}), pb::FLOAT64)[3], 0);
}

}  // namespace
