#pragma once

#include <optional>
#include <string>

#include "color_type.h"

namespace qrdcvt {

// The colour type a -t word names, matched exactly ("Palette" names none).
std::optional<ColorType> color_type_from_word(const std::string& word);

// The colour type of word; an unknown word is logged as an error and ends the process.
ColorType require_color_type(const std::string& word);

}  // namespace qrdcvt
