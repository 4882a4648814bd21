#pragma once

#include <limits>

#include "radar.pb.h"

namespace qrdcvt {

// A band's linear scale as the colour conversions use it, narrowed to float32. Without a
// linear scale the codes are NaN, which no sample equals.
struct BandScaleValues {
    bool has_linear_scale = false;
    float step = 1.0f;
    float offset = 0.0f;
    float not_scanned = std::numeric_limits<float>::quiet_NaN();
    float under_threshold = std::numeric_limits<float>::quiet_NaN();
};

BandScaleValues band_scale_values(const qrd::pb::common::RasterData& band);

}  // namespace qrdcvt
