#pragma once

#include <map>
#include <nlohmann/json_fwd.hpp>
#include <stdexcept>
#include <string>

#include "color_mapper.h"

namespace qrdcvt {

// Product name -> scale, from a default file.
using ProductScales = std::map<std::string, ColorMapper>;
// Instrument name -> product name -> scale, from a custom file.
using InstrumentScales = std::map<std::string, ProductScales>;

// Filled by the loaders once per conversion; entries are never replaced or removed, so
// pointers into them stay valid until exit.
extern ProductScales default_color_scales;
extern InstrumentScales custom_color_scales;
extern ProductScales default_color_scales_palette;
extern InstrumentScales custom_color_scales_palette;

// A scale file that can't be opened (when required) or is malformed. what() names the file:
// "Failed to open file: " + path, or path + ": " + the reason (often the JSON library's text).
class color_scale_error : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The four colour-scale files of an installation.
struct ColorScalePaths {
    std::string custom_rgb;
    std::string default_rgb;
    std::string custom_palette;
    std::string default_palette;
};

// The JSON value of the file at path; an empty object for a missing optional file.
nlohmann::json read_json_file(const std::string& path, bool optional);

// RGB family: the custom file is optional, the default file required.
void load_color_scales(const std::string& custom_path, const std::string& default_path);
// Palette family: both files are optional.
void load_palette_color_scales(const std::string& custom_path, const std::string& default_path);

}  // namespace qrdcvt
