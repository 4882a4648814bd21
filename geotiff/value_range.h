#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>

namespace qrdcvt {

// Minimum and maximum of a band's valid float32 samples; the start values stay when there
// is none.
struct ValueRange {
    float min = std::numeric_limits<float>::max();
    float max = -std::numeric_limits<float>::max();
    std::size_t valid_count = 0;
};

// One pass over count float32 samples at samples: the finite ones equal to neither code
// count. A NaN code excludes nothing.
ValueRange find_value_range(const std::uint8_t* samples, std::size_t count, float not_scanned,
                            float under_threshold);

// max - min in float32, or 1 when that is not positive (one distinct value, or none).
float range_span(const ValueRange& range);

}  // namespace qrdcvt
