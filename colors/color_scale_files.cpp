#include "color_scale_files.h"

#include <cmath>
#include <cstdint>
#include <exception>
#include <limits>
#include <nlohmann/json.hpp>
#include <sstream>

#include "float_conversions.h"
#include "regular_file.h"

namespace qrdcvt {

ProductScales default_color_scales;
InstrumentScales custom_color_scales;
ProductScales default_color_scales_palette;
InstrumentScales custom_color_scales_palette;

namespace {

using nlohmann::json;

// Runs work and turns anything it throws (the JSON library's parse, type and range errors
// included) into a color_scale_error that names the file.
template <typename Work>
auto with_file_context(const std::string& path, Work work) -> decltype(work()) {
    try {
        return work();
    } catch (const std::exception& error) {
        throw color_scale_error(path + ": " + error.what());
    }
}

// The element at index of a "range" or "rgba" array. at() raises the library's own errors for a
// non-array or a short array; the check covers booleans, which the library would silently
// convert to 0 or 1.
const json& number_at(const json& array, std::size_t index) {
    const json& element = array.at(index);
    if (element.is_boolean()) throw std::invalid_argument("type must be number, but is boolean");
    return element;
}

float bound(const json& value) { return to_float32(value.get<double>()); }

// The low 8 bits of the value read as an integer, a fraction truncated toward zero. Working
// modulo 256 keeps the bits a 32-bit read would keep without its undefined overflow.
std::uint8_t colour_byte(const json& value) {
    if (value.is_number_integer()) return static_cast<std::uint8_t>(value.get<std::uint64_t>());
    const double number = value.get<double>();
    if (!std::isfinite(number)) return 0;
    const double low_bits = std::fmod(std::trunc(number), 256.0);
    return static_cast<std::uint8_t>(low_bits < 0 ? low_bits + 256.0 : low_bits);
}

color_scale scale_from_colour_entry(const json& entry) {
    const json& range = entry.at("range");
    const json& rgba = entry.at("rgba");
    color_scale scale;
    scale.lower = bound(number_at(range, 0));
    const json& upper = number_at(range, 1);
    scale.upper = upper.is_null() ? std::numeric_limits<float>::infinity() : bound(upper);
    for (std::size_t i = 0; i < scale.rgba.size(); ++i) {
        scale.rgba[i] = colour_byte(number_at(rgba, i));
    }
    return scale;
}

// Iterating "colors" as a JSON value: null yields nothing, an object its member values in
// key order, a scalar itself (which then fails as a colour entry).
ColorMapper mapper_from_product_entry(const json& entry) {
    ColorMapper mapper;
    for (const json& colour_entry : entry.at("colors")) {
        mapper.scales.push_back(scale_from_colour_entry(colour_entry));
    }
    return mapper;
}

// Members of products that look like product entries; emplace keeps a name already present.
// items() walks arrays by decimal index, a scalar as one member named "", null not at all.
void add_product_scales(const json& products, ProductScales& into) {
    for (const auto& member : products.items()) {
        const json& entry = member.value();
        if (!entry.is_object() || !entry.contains("colors")) continue;
        into.emplace(member.key(), mapper_from_product_entry(entry));
    }
}

void load_family(const std::string& custom_path, const std::string& default_path,
                 bool default_optional, InstrumentScales& custom_scales,
                 ProductScales& default_scales) {
    const json custom = read_json_file(custom_path, true);
    with_file_context(custom_path, [&] {
        for (const auto& member : custom.items()) {
            add_product_scales(member.value(), custom_scales[member.key()]);
        }
    });
    const json defaults = read_json_file(default_path, default_optional);
    with_file_context(default_path, [&] { add_product_scales(defaults, default_scales); });
}

}  // namespace

json read_json_file(const std::string& path, bool optional) {
    const RegularFile file = read_regular_file(path);
    if (file.status == RegularFile::Status::NOT_REGULAR) {
        throw color_scale_error(path + ": not a regular file");
    }
    if (file.status == RegularFile::Status::CANNOT_OPEN) {
        if (optional) return json::object();
        throw color_scale_error("Failed to open file: " + path);
    }
    // The first complete value counts and what follows is ignored, as a stream read does; no
    // comments.
    return with_file_context(path, [&] {
        std::istringstream stream(file.text);
        json value;
        stream >> value;
        return value;
    });
}

void load_color_scales(const std::string& custom_path, const std::string& default_path) {
    load_family(custom_path, default_path, false, custom_color_scales, default_color_scales);
}

void load_palette_color_scales(const std::string& custom_path, const std::string& default_path) {
    load_family(custom_path, default_path, true, custom_color_scales_palette,
                default_color_scales_palette);
}

}  // namespace qrdcvt
