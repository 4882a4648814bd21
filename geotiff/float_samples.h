#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>

namespace qrdcvt {

// Sizes of float32 sample blocks, and conversions of floats that stay defined for any value.

// Whether a block of size bytes holds exactly count samples of sample_size bytes; written
// with a division so that no product of the counts can overflow.
inline bool holds_samples(std::size_t size, std::uint64_t count, std::size_t sample_size) {
    return size % sample_size == 0 && size / sample_size == count;
}

// value as float32, infinite when its magnitude is beyond float32's range (a plain
// conversion of such a double is undefined).
inline float narrow_to_float(double value) {
    constexpr double largest = std::numeric_limits<float>::max();
    if (value > largest) return std::numeric_limits<float>::infinity();
    if (value < -largest) return -std::numeric_limits<float>::infinity();
    return static_cast<float>(value);
}

// value truncated toward zero and clamped to [low, high]; if_nan when value is NaN.
// Casting a float outside the int range is undefined, so the clamps happen in float first.
inline int truncate_into(float value, int low, int high, int if_nan) {
    if (std::isnan(value)) return if_nan;
    if (value >= static_cast<float>(high)) return high;
    if (value < static_cast<float>(low)) return low;
    return static_cast<int>(value);
}

}  // namespace qrdcvt
