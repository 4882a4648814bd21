#pragma once

#include <cmath>
#include <limits>

namespace qrdcvt {

// Conversions of floating-point values that stay defined for any input: the plain casts are
// undefined for values beyond the target's range.

// value as float32, rounded as IEEE conversion rounds: beyond halfway between FLT_MAX and
// 2^128 it is infinite.
inline float to_float32(double value) {
    constexpr double overflow = 0x1.ffffffp127;
    constexpr float infinity = std::numeric_limits<float>::infinity();
    if (value >= overflow) return infinity;
    if (value <= -overflow) return -infinity;
    return static_cast<float>(value);
}

// value truncated toward zero and clamped to [low, high]; if_nan when value is NaN. The clamps
// happen in float first, before the cast.
inline int truncate_into(float value, int low, int high, int if_nan) {
    if (std::isnan(value)) return if_nan;
    if (value >= static_cast<float>(high)) return high;
    if (value < static_cast<float>(low)) return low;
    return static_cast<int>(value);
}

}  // namespace qrdcvt
