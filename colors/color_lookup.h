#pragma once

#include <string>

#include "color_mapper.h"

namespace qrdcvt {

// The instrument's custom scale for the product, else the product's default scale, else
// null. palette_family picks the palette maps instead of the RGB maps.
const ColorMapper* find_color_mapper(const std::string& instrument_name,
                                     const std::string& product_name, bool palette_family);

// One-line text of a scale for the GDAL metadata; empty for a null scale.
std::string color_table_description(const ColorMapper* scale, const std::string& product_name);

}  // namespace qrdcvt
