#pragma once

#include <cstdint>

namespace qrdcvt {

// What one output pixel holds; chosen on the command line with -t.
enum class ColorType : std::int32_t { GRAYSCALE = 0, PALETTE = 1, RGB = 2, FLOAT = 3 };

}  // namespace qrdcvt
