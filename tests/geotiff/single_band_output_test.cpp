#include "single_band_output.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>

#include "geotiff_test_support.h"

namespace {

TEST(SingleBandStatistics, EveryFiniteValueCountsWithoutTheFloatThreshold) {
    const double inf = std::numeric_limits<double>::infinity();
    const qrdcvt::SampleBlock block =
        geotiff_test::block_of<double>({NAN, -DBL_MAX, inf, DBL_MAX, -inf, 2});
    const qrdcvt::BandStatistics s = qrdcvt::single_band_statistics(block.data(), 6);
    EXPECT_EQ(s.minimum, -DBL_MAX);
    EXPECT_EQ(s.maximum, DBL_MAX);
    EXPECT_EQ(s.valid_percent, 50);
}

}  // namespace
