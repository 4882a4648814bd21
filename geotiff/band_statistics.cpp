#include "band_statistics.h"

#include <cmath>

#include "simple_logger.h"

namespace qrdcvt {

BandStatistics StatisticsAccumulator::summary(double valid_percent) const {
    if (count == 0) return {};
    const double mean = sum / static_cast<double>(count);
    const double variance = sum_of_squares / static_cast<double>(count) - mean * mean;
    return {minimum, maximum, mean, variance > 0 ? std::sqrt(variance) : 0.0, valid_percent};
}

void log_band_statistics(const BandStatistics& statistics) {
    corvane::rs::wr::log::SimpleLogger::getInstance()->info()
        << "Band statistics: min=" << statistics.minimum << ", max=" << statistics.maximum
        << ", mean=" << statistics.mean << ", stddev=" << statistics.stddev
        << ", valid=" << statistics.valid_percent << "%" << std::endl;
}

}  // namespace qrdcvt
