#pragma once

#include <limits>
#include <vector>

#include "sample_options.h"

namespace radmill_sample {

// Marks a pixel inside the radar's range where nothing echoed.
constexpr float no_echo = -std::numeric_limits<float>::infinity();

// Physical values of one band of width x height pixels, the northern row first: smooth echo
// cells around a radar at the image centre, no_echo between them and NaN beyond the radar's
// range. The same variant always gives the same echoes.
std::vector<float> physical_field(int width, int height, Quantity quantity, int variant);

}  // namespace radmill_sample
