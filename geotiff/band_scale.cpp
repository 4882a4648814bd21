#include "band_scale.h"

#include <limits>

#include "float_conversions.h"

namespace qrdcvt {

namespace {

float code_as_float(std::optional<std::int32_t> code) {
    return code ? static_cast<float>(*code) : std::numeric_limits<float>::quiet_NaN();
}

}  // namespace

Float32Scale BandScale::float32() const {
    return {to_float32(step), to_float32(offset), code_as_float(not_scanned),
            code_as_float(under_threshold)};
}

BandScale read_band_scale(const qrd::pb::common::RasterData& band) {
    if (!band.has_data_descriptor() || !band.data_descriptor().has_data_scale()) return {};
    const qrd::pb::common::DataScale& scale = band.data_descriptor().data_scale();
    if (!scale.has_linear()) return {};
    const qrd::pb::common::LinearScale& linear = scale.linear();
    return {true, linear.step(), linear.offset(), linear.not_scanned(), linear.under_threshold()};
}

}  // namespace qrdcvt
