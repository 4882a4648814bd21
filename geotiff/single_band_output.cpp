#include "single_band_output.h"

#include <tiff.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <type_traits>

#include "band_statistics.h"
#include "code_conversion.h"
#include "sample_access.h"
#include "simple_logger.h"
#include "storage_types.h"

namespace qrdcvt {

namespace pb = qrd::pb::common;

namespace {

using corvane::rs::wr::log::SimpleLogger;

template <typename Raw>
SampleBlock scale_codes(const SampleBlock& raw, std::uint64_t count, const BandScale& scale) {
    SampleBlock out = SampleBlock::allocate(count * sizeof(double));
    const double step = scale.step;
    const double offset = scale.offset;
    convert_codes<Raw, double>(raw.data(), out.data(), count, scale.not_scanned, [=](Raw code) {
        const double value = static_cast<double>(code) * step + offset;
        if constexpr (std::is_floating_point_v<Raw>) {
            // Chosen rather than branched to, so that the loop runs on several codes at once.
            return std::isfinite(code) ? value : std::numeric_limits<double>::quiet_NaN();
        }
        return value;
    });
    return out;
}

// Physical values of count raw samples, NaN where the code is not_scanned (or a FLOAT32
// sample isn't finite). A FLOAT64 block is handed back as stored. Takes the raw block over;
// an empty block for a storage type it can't convert.
SampleBlock to_float64_band(SampleBlock block, pb::StorageType storage_type, const BandScale& scale,
                            std::uint64_t count) {
    auto& log = *SimpleLogger::getInstance();
    if (storage_type == pb::FLOAT64) {
        log.info() << "Single-band: Data already in Float64 format" << std::endl;
        return block;
    }
    log.info() << "Single-band: Converting from storage type " << static_cast<int>(storage_type)
               << " to Float64" << std::endl;
    if (scale.has_linear_scale) {
        log.debug() << "Single-band: Scale parameters - step=" << scale.step
                    << ", offset=" << scale.offset << ", nodata=" << *scale.not_scanned
                    << std::endl;
    }
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
            return {};
    }
    log.info() << "Single-band: Converted to Float64 (" << values.size << " bytes)" << std::endl;
    return values;
}

// Statistics of count doubles: NaN and infinities are not valid, every other value is.
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

ConvertedBand convert_single_band(SampleBlock block, const BandFacts& facts) {
    SampleBlock values =
        to_float64_band(std::move(block), facts.storage_type, facts.scale, facts.pixel_count);
    if (!values) {
        return conversion_failure("Unsupported storage type for single-band conversion: " +
                                  std::to_string(static_cast<int>(facts.storage_type)));
    }
    const BandStatistics statistics = single_band_statistics(values.data(), facts.pixel_count);
    return {std::move(values), {}, statistics, {}};
}

}  // namespace

BandPlan plan_single_band(const BandFacts& facts) {
    BandPlan plan;
    plan.layout.photometric = PHOTOMETRIC_MINISBLACK;
    plan.layout.bytes_per_sample = sizeof(double);
    plan.layout.sample_format = sample_format_float;
    set_nodata(plan.layout, "nan");
    plan.layout_notes = {
        {LogNote::Level::INFO, "Single-band mode: outputting Float64 scientific values"},
        {LogNote::Level::DEBUG, "Single-band: Setting GDAL NoData to NaN"}};
    const StorageTypeInfo* storage = storage_type_info(facts.storage_type);
    const std::uint64_t raw_bytes = storage != nullptr ? storage->bytes_per_sample : 0;
    const bool converts = storage != nullptr && storage->converts_to_float64;
    plan.decoded_size = {converts ? raw_bytes : 0,
                         std::max<std::uint64_t>(sizeof(double), raw_bytes)};
    plan.convert = convert_single_band;
    plan.metadata_level = LogNote::Level::DEBUG;
    return plan;
}

}  // namespace qrdcvt
