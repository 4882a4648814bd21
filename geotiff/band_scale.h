#pragma once

#include <cstdint>
#include <optional>

#include "radar.pb.h"

namespace qrdcvt {

// A band's linear scale in float32, as the colour conversions compute with it. Without a
// linear scale the codes are NaN, which no sample equals.
struct Float32Scale {
    float step;
    float offset;
    float not_scanned;
    float under_threshold;
};

// A band's linear scale, read once per band. Without one, raw values are physical values and
// no code is special.
struct BandScale {
    bool has_linear_scale = false;
    double step = 1.0;
    double offset = 0.0;
    std::optional<std::int32_t> not_scanned;
    std::optional<std::int32_t> under_threshold;

    Float32Scale float32() const;
};

// The linear scale of the band's descriptor, when its data scale holds one.
BandScale read_band_scale(const qrd::pb::common::RasterData& band);

}  // namespace qrdcvt
