#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace qrdcvt {

// One interval of physical values, bounds inclusive, with its colour.
struct color_scale {
    float upper = 0;  // +infinity when the scale file gives null
    float lower = 0;
    std::array<std::uint8_t, 4> rgba = {180, 180, 180, 255};  // red, green, blue, alpha
};

// The colour scale of one product: intervals in file order, never sorted.
struct ColorMapper {
    std::vector<color_scale> scales;
    color_scale nodata;   // colour of palette/RGB index 0
    color_scale no_echo;  // colour of palette/RGB index 255

    // The colour interval for value: the first containing interval, else the one with the
    // nearest bound, else the fallback grey (180, 180, 180, 255).
    color_scale get_scales(float value) const;
};

}  // namespace qrdcvt
