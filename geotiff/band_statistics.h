#pragma once

#include <cfloat>
#include <cstdint>

#include "band_layout.h"

namespace qrdcvt {

// Running count, range and sums of a band's valid values.
struct StatisticsAccumulator {
    std::uint64_t count = 0;
    double minimum = DBL_MAX;
    double maximum = -DBL_MAX;
    double sum = 0;
    double sum_of_squares = 0;

    void add(double value) {
        ++count;
        if (value < minimum) minimum = value;
        if (value > maximum) maximum = value;
        sum += value;
        sum_of_squares += value * value;
    }

    // Mean and population standard deviation (0 unless the variance is positive), with the
    // caller's valid percentage; all five are 0 when nothing was valid.
    BandStatistics summary(double valid_percent) const;
};

// The "Band statistics: ..." info line.
void log_band_statistics(const BandStatistics& statistics);

}  // namespace qrdcvt
