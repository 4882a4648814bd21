#include "color_type_word.h"

#include "fatal_error.h"

namespace qrdcvt {

std::optional<ColorType> color_type_from_word(const std::string& word) {
    if (word == "palette") return ColorType::PALETTE;
    if (word == "rgb") return ColorType::RGB;
    if (word == "float") return ColorType::FLOAT;
    if (word == "grayscale") return ColorType::GRAYSCALE;
    return std::nullopt;
}

ColorType require_color_type(const std::string& word) {
    const std::optional<ColorType> color_type = color_type_from_word(word);
    if (!color_type) {
        exit_with_error("Invalid color type specified: " + word +
                        ". Valid options are: palette, rgb, grayscale, float.");
    }
    return *color_type;
}

}  // namespace qrdcvt
