#include "color_mapper.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace qrdcvt {

color_scale ColorMapper::get_scales(float value) const {
    for (const color_scale& scale : scales) {
        if (scale.lower <= value && value <= scale.upper) return scale;
    }

    // Nearest bound, all in float32. An infinite upper bound counts as the largest finite
    // float, which never beats the starting best, so it only matters through the lower bound.
    // A NaN value makes every distance NaN, which never compares less: fallback grey.
    constexpr float largest = std::numeric_limits<float>::max();
    const color_scale* nearest = nullptr;
    float best = largest;
    for (const color_scale& scale : scales) {
        const float to_lower = std::fabs(value - scale.lower);
        const float to_upper = std::isinf(scale.upper) ? largest : std::fabs(value - scale.upper);
        const float distance = std::min(to_lower, to_upper);
        if (distance < best) {  // strict: ties keep the earlier interval
            best = distance;
            nearest = &scale;
        }
    }
    return nearest != nullptr ? *nearest : color_scale{};
}

}  // namespace qrdcvt
