#pragma once

#include <string>

#include "color_mapper.h"

namespace qrdcvt {

// The instrument's custom scale for the product, else the product's default scale, else
// null. palette_family picks the palette maps instead of the RGB maps.
const ColorMapper* find_color_mapper(const std::string& instrument_name,
                                     const std::string& product_name, bool palette_family);

// The scales a conversion uses, chosen once for its instrument and product. Each use has its
// own family order, side by side here.
struct ColorScaleChoice {
    std::string instrument_name;
    std::string product_name;
    const ColorMapper* palette = nullptr;  // palette output: RGB family first, then palette
    const ColorMapper* rgb = nullptr;      // RGB output: RGB family only
    std::string description;  // the SCALE metadata item: palette family first, then RGB
};

ColorScaleChoice choose_color_scales(const std::string& instrument_name,
                                     const std::string& product_name);

// One-line text of a scale for the GDAL metadata; empty for a null scale.
std::string color_table_description(const ColorMapper* scale, const std::string& product_name);

}  // namespace qrdcvt
