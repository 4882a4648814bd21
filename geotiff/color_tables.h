#pragma once

#include <functional>

#include "band_layout.h"
#include "color_mapper.h"

namespace qrdcvt {

// The colour of values that no scale serves: opaque grey.
inline constexpr std::array<std::uint8_t, 4> fallback_grey = {180, 180, 180, 255};

// Entry k is (k, k, k, 255).
ColorTable grey_ramp();

// The grey ramp with entries 0 and 255 in the fallback grey: the palette without a scale.
ColorTable grey_palette();

// Entry 0 the scale's nodata colour, entry 255 its no_echo colour, and entry k from 1 to 254
// the scale's colour at value_of_index(k).
ColorTable scale_color_table(const ColorMapper& scale,
                             const std::function<float(int)>& value_of_index);

}  // namespace qrdcvt
