#include "color_tables.h"

namespace qrdcvt {

ColorTable grey_ramp() {
    ColorTable table;
    for (int k = 0; k < 256; ++k) {
        const auto grey = static_cast<std::uint8_t>(k);
        table[k] = {grey, grey, grey, 255};
    }
    return table;
}

ColorTable grey_palette() {
    ColorTable table = grey_ramp();
    table[0] = fallback_grey;
    table[255] = fallback_grey;
    return table;
}

ColorTable scale_color_table(const ColorMapper& scale,
                             const std::function<float(int)>& value_of_index) {
    ColorTable table;
    table[0] = scale.nodata.rgba;
    table[255] = scale.no_echo.rgba;
    for (int k = 1; k < 255; ++k) table[k] = scale.get_scales(value_of_index(k)).rgba;
    return table;
}

}  // namespace qrdcvt
