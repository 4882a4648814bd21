#include "value_range.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "sample_access.h"

namespace qrdcvt {

namespace {

// Four samples side by side (a GCC and clang vector type that fits the SIMD registers of any
// target), so that the scan runs on several samples at once.
using Lanes = float __attribute__((vector_size(16)));
using LaneFlags = std::int32_t __attribute__((vector_size(16)));
constexpr std::size_t lane_count = sizeof(Lanes) / sizeof(float);

bool counts(float value, float not_scanned, float under_threshold) {
    return std::isfinite(value) && value != not_scanned && value != under_threshold;
}

void add(ValueRange& range, float value) {
    range.min = std::min(range.min, value);
    range.max = std::max(range.max, value);
    ++range.valid_count;
}

// The first counted sample equal to zero. A scan in order keeps the first of equal values,
// and zeros of either sign compare equal: when the range ends at zero, its sign is this one's.
float first_zero(const std::uint8_t* samples, std::size_t count, float not_scanned,
                 float under_threshold) {
    for (std::size_t i = 0; i < count; ++i) {
        const float value = load_sample<float>(samples, i);
        if (value == 0.0f && counts(value, not_scanned, under_threshold)) return value;
    }
    return 0.0f;
}

}  // namespace

ValueRange find_value_range(const std::uint8_t* samples, std::size_t count, float not_scanned,
                            float under_threshold) {
    ValueRange range;
    const Lanes largest = Lanes{} + range.min;
    Lanes low = largest;
    Lanes high = -largest;
    LaneFlags valid_counts = {};
    std::size_t i = 0;
    for (; i + lane_count <= count; i += lane_count) {
        Lanes values;
        std::memcpy(&values, samples + i * sizeof(float), sizeof values);
        // Finite, and neither code: a NaN code matches nothing.
        const LaneFlags valid = (values >= -largest) & (values <= largest) &
                                (values != not_scanned) & (values != under_threshold);
        low = (valid & (values < low)) ? values : low;
        high = (valid & (values > high)) ? values : high;
        valid_counts -= valid;  // a true flag is -1
    }
    for (std::size_t lane = 0; lane < lane_count; ++lane) {
        range.min = std::min(range.min, low[lane]);
        range.max = std::max(range.max, high[lane]);
        range.valid_count += static_cast<std::size_t>(valid_counts[lane]);
    }
    for (; i < count; ++i) {
        const float value = load_sample<float>(samples, i);
        if (counts(value, not_scanned, under_threshold)) add(range, value);
    }
    if (range.min == 0.0f || range.max == 0.0f) {
        const float zero = first_zero(samples, count, not_scanned, under_threshold);
        if (range.min == 0.0f) range.min = zero;
        if (range.max == 0.0f) range.max = zero;
    }
    return range;
}

float range_span(const ValueRange& range) {
    const float span = range.max - range.min;
    return span > 0.0f ? span : 1.0f;
}

}  // namespace qrdcvt
