#include "color_lookup.h"

#include <cmath>
#include <cstdint>
#include <limits>

#include "color_scale_files.h"
#include "float_conversions.h"

namespace qrdcvt {

namespace {

const ColorMapper* find_product(const ProductScales& scales, const std::string& product_name) {
    const auto found = scales.find(product_name);
    return found != scales.end() ? &found->second : nullptr;
}

// The rendered items separated by ", ".
template <typename Items, typename Render>
std::string joined(const Items& items, Render render) {
    std::string text;
    bool first = true;
    for (const auto& item : items) {
        if (!first) text += ", ";
        text += render(item);
        first = false;
    }
    return text;
}

std::string bound_text(float bound, bool blank) {
    return blank ? std::string("''")
                 : std::to_string(truncate_into(bound, INT32_MIN, INT32_MAX, 0));
}

std::string entry_text(const color_scale& scale) {
    const bool blank_lower = std::isinf(scale.lower) && scale.lower < 0;
    const std::string rgba =
        joined(scale.rgba, [](std::uint8_t byte) { return "'" + std::to_string(byte) + "'"; });
    return "{'Values': [" + bound_text(scale.lower, blank_lower) + ", " +
           bound_text(scale.upper, std::isinf(scale.upper)) + "], 'RGBA': [" + rgba + "]}";
}

}  // namespace

const ColorMapper* find_color_mapper(const std::string& instrument_name,
                                     const std::string& product_name, bool palette_family) {
    const InstrumentScales& custom =
        palette_family ? custom_color_scales_palette : custom_color_scales;
    const ProductScales& defaults =
        palette_family ? default_color_scales_palette : default_color_scales;

    if (!instrument_name.empty()) {
        const auto instrument = custom.find(instrument_name);
        if (instrument != custom.end()) {
            if (const ColorMapper* scale = find_product(instrument->second, product_name))
                return scale;
        }
    }
    return find_product(defaults, product_name);
}

std::string color_table_description(const ColorMapper* scale, const std::string& product_name) {
    if (scale == nullptr) return {};
    return "{'Product': '" + product_name + "', 'RGBA_List': [" +
           joined(scale->scales, entry_text) + "]}";
}

ColorScaleChoice choose_color_scales(const std::string& instrument_name,
                                     const std::string& product_name) {
    const auto first_of = [&](bool palette_family) {
        const ColorMapper* scale = find_color_mapper(instrument_name, product_name, palette_family);
        return scale != nullptr ? scale
                                : find_color_mapper(instrument_name, product_name, !palette_family);
    };
    return {instrument_name, product_name, first_of(false),
            find_color_mapper(instrument_name, product_name, false),
            color_table_description(first_of(true), product_name)};
}

}  // namespace qrdcvt
