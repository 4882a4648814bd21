#include "single_band_output.h"

#include <cmath>
#include <limits>
#include <optional>
#include <type_traits>

#include "band_statistics.h"
#include "code_conversion.h"
#include "linear_scale.h"
#include "sample_access.h"
#include "simple_logger.h"

namespace qrdcvt {

namespace pb = qrd::pb::common;

namespace {

using corvane::rs::wr::log::SimpleLogger;

struct PhysicalScale {
    double step = 1;
    double offset = 0;
    std::optional<std::int32_t> nodata;
};

PhysicalScale physical_scale(const pb::RasterData& band) {
    const pb::LinearScale* linear = find_linear_scale(band);
    if (linear == nullptr) return {};
    SimpleLogger::getInstance()->debug()
        << "Single-band: Scale parameters - step=" << linear->step()
        << ", offset=" << linear->offset() << ", nodata=" << linear->not_scanned() << std::endl;
    return {linear->step(), linear->offset(), linear->not_scanned()};
}

template <typename Raw>
SampleBlock scale_codes(const SampleBlock& raw, std::uint64_t count, const PhysicalScale& scale) {
    SampleBlock out = SampleBlock::allocate(count * sizeof(double));
    convert_codes<Raw, double>(raw.data(), out.data(), count, scale.nodata, [&scale](Raw code) {
        const double value = static_cast<double>(code) * scale.step + scale.offset;
        if constexpr (std::is_floating_point_v<Raw>) {
            // Chosen rather than branched to, so that the loop runs on several codes at once.
            return std::isfinite(code) ? value : std::numeric_limits<double>::quiet_NaN();
        }
        return value;
    });
    return out;
}

}  // namespace

bool converts_to_float64(pb::StorageType storage_type) {
    switch (storage_type) {
        case pb::UINT8:
        case pb::UINT16:
        case pb::INT32:
        case pb::FLOAT32:
        case pb::FLOAT64:
            return true;
        default:
            return false;
    }
}

SampleBlock to_float64_band(SampleBlock block, pb::StorageType storage_type,
                            const pb::RasterData& band, std::uint32_t width, std::uint32_t height) {
    auto& log = *SimpleLogger::getInstance();
    if (storage_type == pb::FLOAT64) {
        log.info() << "Single-band: Data already in Float64 format" << std::endl;
        return block;
    }
    log.info() << "Single-band: Converting from storage type " << static_cast<int>(storage_type)
               << " to Float64" << std::endl;
    const PhysicalScale scale = physical_scale(band);
    const std::uint64_t count = static_cast<std::uint64_t>(width) * height;
    SampleBlock values;
    switch (storage_type) {
        case pb::UINT8:
            values = scale_codes<std::uint8_t>(block, count, scale);
            break;
        case pb::UINT16:
            values = scale_codes<std::uint16_t>(block, count, scale);
            break;
        case pb::INT32:
            values = scale_codes<std::int32_t>(block, count, scale);
            break;
        case pb::FLOAT32:
            values = scale_codes<float>(block, count, scale);
            break;
        default:
            log.error() << "Unsupported storage type for single-band conversion: "
                        << static_cast<int>(storage_type) << std::endl;
            return {};
    }
    log.info() << "Single-band: Converted to Float64 (" << values.size << " bytes)" << std::endl;
    return values;
}

BandStatistics single_band_statistics(const std::uint8_t* values, std::uint64_t count) {
    StatisticsAccumulator accumulator;
    for (std::uint64_t i = 0; i < count; ++i) {
        const double value = load_sample<double>(values, i);
        if (std::fabs(value) <= std::numeric_limits<double>::max()) accumulator.add(value);
    }
    const BandStatistics statistics = accumulator.summary(static_cast<double>(accumulator.count) *
                                                          100 / static_cast<double>(count));
    log_band_statistics(statistics);
    return statistics;
}

}  // namespace qrdcvt
