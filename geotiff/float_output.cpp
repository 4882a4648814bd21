#include "float_output.h"

#include <limits>

#include "band_statistics.h"
#include "code_conversion.h"
#include "linear_scale.h"
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

}  // namespace

std::uint8_t float_sample_bytes(pb::StorageType storage_type) {
    switch (storage_type) {
        case pb::UINT8:
        case pb::UINT16:
        case pb::FLOAT32:
            return 4;
        case pb::INT32:
        case pb::INT64:
        case pb::FLOAT64:
            return 8;
        default:
            return 0;
    }
}

BandStatistics clean_float_band(std::uint8_t* samples, pb::StorageType storage_type,
                                std::uint32_t width, std::uint32_t height) {
    auto& log = *SimpleLogger::getInstance();
    log.info() << "Float mode: cleaning up invalid values and computing statistics" << std::endl;
    const std::uint64_t count = static_cast<std::uint64_t>(width) * height;
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

FloatBand integers_to_float_band(SampleBlock raw, pb::StorageType storage_type,
                                 const pb::RasterData& band, std::uint32_t width,
                                 std::uint32_t height) {
    auto& log = *SimpleLogger::getInstance();
    const std::uint8_t out_bytes = float_sample_bytes(storage_type);
    if (out_bytes == 0 || is_float_storage(storage_type)) return {};
    log.info() << "Float mode: converting storage type " << static_cast<int>(storage_type) << " to "
               << (out_bytes == 4 ? "Float32" : "Float64") << std::endl;

    const std::optional<std::int32_t> nodata = not_scanned_code(band);
    if (nodata) {
        log.debug() << "Float mode: not_scanned code " << *nodata << " becomes NaN" << std::endl;
    }
    const std::uint64_t count = static_cast<std::uint64_t>(width) * height;
    FloatBand result{SampleBlock::allocate(count * out_bytes), {}};
    const std::uint8_t* in = raw.data();
    std::uint8_t* out = result.block.data();
    switch (storage_type) {
        case pb::UINT8:
            result.statistics = codes_to_floats<std::uint8_t, float>(in, out, count, nodata);
            break;
        case pb::UINT16:
            result.statistics = codes_to_floats<std::uint16_t, float>(in, out, count, nodata);
            break;
        case pb::INT32:
            result.statistics = codes_to_floats<std::int32_t, double>(in, out, count, nodata);
            break;
        default:
            result.statistics = codes_to_floats<std::int64_t, double>(in, out, count, nodata);
            break;
    }
    log_band_statistics(result.statistics);
    return result;
}

}  // namespace qrdcvt
