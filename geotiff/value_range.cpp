#include "value_range.h"

#include "sample_access.h"

#include <algorithm>
#include <cmath>

namespace qrdcvt {

ValueRange find_value_range(const std::uint8_t* samples, std::size_t count, float not_scanned,
                            float under_threshold) {
    ValueRange range;
    for (std::size_t i = 0; i < count; ++i) {
        const float value = load_sample<float>(samples, i);
        if (!std::isfinite(value) || value == not_scanned || value == under_threshold) continue;
        range.min = std::min(range.min, value);
        range.max = std::max(range.max, value);
        ++range.valid_count;
    }
    return range;
}

float range_span(const ValueRange& range) {
    const float span = range.max - range.min;
    return span > 0.0f ? span : 1.0f;
}

}  // namespace qrdcvt
