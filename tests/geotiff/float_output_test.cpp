#include "float_output.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>

#include "geotiff_test_support.h"

namespace {

namespace pb = qrd::pb::common;
using geotiff_test::block_of;
using geotiff_test::convert_by_plan;
using geotiff_test::values_of;
using qrdcvt::OutputMode;

// Cleans a band of the one sample value and checks that it stays or becomes quiet_nan.
template <typename T, typename Bits>
void expect_cleaned(T value, bool valid, Bits quiet_nan) {
    const pb::StorageType type = sizeof(T) == 8 ? pb::FLOAT64 : pb::FLOAT32;
    const qrdcvt::ConvertedBand band = convert_by_plan<T>(OutputMode::FLOAT, type, {value}, 1);
    EXPECT_EQ(band.statistics->valid_percent, valid ? 100 : 0) << value;
    const Bits stored = values_of<Bits>(block_of<T>({value}))[0];
    EXPECT_EQ(values_of<Bits>(band.block)[0], valid ? stored : quiet_nan) << value;
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

std::vector<double> summary(const qrdcvt::ConvertedBand& band) {
    const qrdcvt::BandStatistics& s = *band.statistics;
    return {s.minimum, s.maximum, s.mean, s.stddev, s.valid_percent};
}

TEST(CleanFloatBand, StatisticsOfTheValidSamples) {
    EXPECT_EQ(summary(convert_by_plan<float>(OutputMode::FLOAT, pb::FLOAT32,
                                             {1, -FLT_MAX, INFINITY, 3}, 4)),
              (std::vector<double>{1, 3, 2, 1, 50}));
    EXPECT_EQ(summary(convert_by_plan<float>(OutputMode::GRAYSCALE, pb::FLOAT32, {NAN, NAN}, 2)),
              std::vector<double>(5, 0.0));
    // Never the root of a rounded-down negative variance; and no invalid values to convert.
    const geotiff_test::LogCapture log;
    EXPECT_EQ(
        summary(convert_by_plan<double>(OutputMode::FLOAT, pb::FLOAT64, {0.1, 0.1, 0.1}, 3))[3], 0);
    EXPECT_FALSE(log.has("info", "Converting 0 invalid values (inf/-inf/-FLT_MAX) to NaN"));
    // Single-band values: every finite value counts, without the float threshold.
    const double inf = std::numeric_limits<double>::infinity();
    const std::vector<double> single = summary(convert_by_plan<double>(
        OutputMode::SINGLE_BAND, pb::FLOAT64, {NAN, -DBL_MAX, inf, DBL_MAX, -inf, 2}, 6));
    EXPECT_EQ((std::vector<double>{single[0], single[1], single[4]}),
              (std::vector<double>{-DBL_MAX, DBL_MAX, 50}));
}

}  // namespace
