#pragma once

#include <cstdint>
#include <optional>

#include "radar.pb.h"

namespace qrdcvt {

// The band's linear scale, or null when its descriptor has no data scale holding one.
inline const qrd::pb::common::LinearScale* find_linear_scale(
    const qrd::pb::common::RasterData& band) {
    if (!band.has_data_descriptor() || !band.data_descriptor().has_data_scale()) return nullptr;
    const qrd::pb::common::DataScale& scale = band.data_descriptor().data_scale();
    return scale.has_linear() ? &scale.linear() : nullptr;
}

// The raw code of samples that were not measured, when the band has a linear scale.
inline std::optional<std::int32_t> not_scanned_code(const qrd::pb::common::RasterData& band) {
    const qrd::pb::common::LinearScale* scale = find_linear_scale(band);
    if (scale == nullptr) return std::nullopt;
    return scale->not_scanned();
}

}  // namespace qrdcvt
