#include "float_output.h"

#include <tiff.h>

#include <algorithm>
#include <limits>

#include "band_statistics.h"
#include "code_conversion.h"
#include "sample_access.h"
#include "simple_logger.h"
#include "storage_types.h"

namespace qrdcvt {

namespace pb = qrd::pb::common;

namespace {

using corvane::rs::wr::log::SimpleLogger;

constexpr std::uint32_t quiet_nan_bits32 = 0x7FC00000u;
constexpr std::uint64_t quiet_nan_bits64 = 0x7FF8000000000000u;

// NaN fails both comparisons, infinities one of them.
bool is_valid_float(double value) { return value > invalid_float_threshold && value <= DBL_MAX; }

double percent_of(std::uint64_t part, std::uint64_t whole) {
    return static_cast<double>(part) / static_cast<double>(whole) * 100;
}

// Bytes of a float sample that holds every code of an integer type exactly, or nearly so.
std::uint8_t float_bytes_for(const StorageTypeInfo& storage) {
    if (storage.is_float) return storage.bytes_per_sample;
    return storage.bytes_per_sample <= 2 ? 4 : 8;
}

// One pass: gathers the valid samples and overwrites the others at once.
template <typename T, typename Bits, Bits nan_bits>
std::uint64_t clean_samples(std::uint8_t* samples, std::uint64_t count,
                            StatisticsAccumulator& accumulator) {
    std::uint64_t invalid = 0;
    for (std::uint64_t i = 0; i < count; ++i) {
        const double value = load_sample<T>(samples, i);
        if (is_valid_float(value)) {
            accumulator.add(value);
        } else {
            ++invalid;
            store_sample<Bits>(samples, i, nan_bits);
        }
    }
    return invalid;
}

template <typename Raw, typename Out>
BandStatistics codes_to_floats(const std::uint8_t* raw, std::uint8_t* out, std::uint64_t count,
                               std::optional<std::int32_t> nodata) {
    // The code marks samples equal to it; one outside the storage type's range marks none.
    if (nodata &&
        (*nodata < std::numeric_limits<Raw>::min() || *nodata > std::numeric_limits<Raw>::max())) {
        nodata.reset();
    }
    StatisticsAccumulator accumulator;
    convert_codes<Raw, Out>(raw, out, count, nodata, [&accumulator](Raw code) {
        const Out value = static_cast<Out>(code);
        accumulator.add(value);
        return value;
    });
    return accumulator.summary(percent_of(accumulator.count, count));
}

// Overwrites NaN, infinite and fill samples of a FLOAT32 (or, for that storage type,
// FLOAT64) block of count samples with the quiet NaN, and gives the statistics of the others.
BandStatistics clean_float_band(std::uint8_t* samples, pb::StorageType storage_type,
                                std::uint64_t count) {
    auto& log = *SimpleLogger::getInstance();
    log.info() << "Float mode: cleaning up invalid values and computing statistics" << std::endl;
    StatisticsAccumulator accumulator;
    const std::uint64_t invalid =
        storage_type == pb::FLOAT64
            ? clean_samples<double, std::uint64_t, quiet_nan_bits64>(samples, count, accumulator)
            : clean_samples<float, std::uint32_t, quiet_nan_bits32>(samples, count, accumulator);

    log.debug() << "Float data scan: valid=" << accumulator.count << ", invalid=" << invalid
                << ", range=[" << accumulator.minimum << ", " << accumulator.maximum << "]"
                << std::endl;
    if (invalid > 0) {
        log.info() << "Converting " << invalid << " invalid values (inf/-inf/-FLT_MAX) to NaN"
                   << std::endl;
    }
    const BandStatistics statistics = accumulator.summary(percent_of(accumulator.count, count));
    log_band_statistics(statistics);
    return statistics;
}

// Float mode over integer codes: the exact floating-point value of every code, NaN for the
// band's not_scanned code, and the statistics of the others.
ConvertedBand integers_to_floats(const SampleBlock& raw, const BandFacts& facts) {
    auto& log = *SimpleLogger::getInstance();
    const std::uint8_t out_bytes = float_bytes_for(*storage_type_info(facts.storage_type));
    log.info() << "Float mode: converting storage type " << static_cast<int>(facts.storage_type)
               << " to " << (out_bytes == 4 ? "Float32" : "Float64") << std::endl;
    const std::optional<std::int32_t> nodata = facts.scale.not_scanned;
    if (nodata) {
        log.debug() << "Float mode: not_scanned code " << *nodata << " becomes NaN" << std::endl;
    }
    const std::uint64_t count = facts.pixel_count;
    SampleBlock out = SampleBlock::allocate(count * out_bytes);
    const std::uint8_t* in = raw.data();
    BandStatistics statistics;
    switch (facts.storage_type) {
        case pb::UINT8:
            statistics = codes_to_floats<std::uint8_t, float>(in, out.data(), count, nodata);
            break;
        case pb::UINT16:
            statistics = codes_to_floats<std::uint16_t, float>(in, out.data(), count, nodata);
            break;
        case pb::INT32:
            statistics = codes_to_floats<std::int32_t, double>(in, out.data(), count, nodata);
            break;
        default:
            statistics = codes_to_floats<std::int64_t, double>(in, out.data(), count, nodata);
            break;
    }
    log_band_statistics(statistics);
    return {std::move(out), {}, statistics, {}};
}

}  // namespace

BandPlan plan_float(const BandFacts& facts) {
    BandPlan plan;
    const StorageTypeInfo* storage = storage_type_info(facts.storage_type);
    plan.layout.photometric = PHOTOMETRIC_MINISBLACK;
    plan.layout.bytes_per_sample = storage != nullptr ? float_bytes_for(*storage) : 4;
    plan.layout.sample_format = sample_format_float;
    set_nodata(plan.layout, "nan");
    plan.layout_notes = {{LogNote::Level::DEBUG, "Setting GDAL NoData: NaN (float)"}};
    if (storage == nullptr) {
        plan.error =
            "Unsupported storage type: " + std::to_string(static_cast<int>(facts.storage_type));
        return plan;
    }
    plan.decoded_size = {storage->bytes_per_sample,
                         std::max(plan.layout.bytes_per_sample, storage->bytes_per_sample)};
    plan.convert = convert_float;
    plan.metadata_level = LogNote::Level::TRACE;
    return plan;
}

ConvertedBand convert_float(SampleBlock block, const BandFacts& facts) {
    if (!storage_type_info(facts.storage_type)->is_float) return integers_to_floats(block, facts);
    const BandStatistics statistics =
        clean_float_band(block.data(), facts.storage_type, facts.pixel_count);
    return {std::move(block), {}, statistics, {}};
}

}  // namespace qrdcvt
