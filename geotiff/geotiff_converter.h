#pragma once

#include <string>

#include "band_layout.h"
#include "color_type.h"
#include "radar.pb.h"

namespace qrdcvt {

// Writes one product as a GeoTIFF: one directory per written band (every band in
// single-band mode, else the first), then ends the process.
class GeoTiffConverter {
  public:
    // Takes the product over: moved in, or copied when the caller keeps its own.
    GeoTiffConverter(qrd::pb::common::Product product, ColorType color_type, bool single_band);

    // Exits with status 0 after a complete file at output_path, 1 after the first error
    // line. The scale paths are those of the custom and default RGB and palette files.
    [[noreturn]] void convert_product_to_geotiff(const std::string& output_path,
                                                 const std::string& custom_rgb_path,
                                                 const std::string& default_rgb_path,
                                                 const std::string& custom_palette_path,
                                                 const std::string& default_palette_path);

    // The same conversion, returning that exit status instead of ending the process.
    int run_conversion(const std::string& output_path, const std::string& custom_rgb_path,
                       const std::string& default_rgb_path, const std::string& custom_palette_path,
                       const std::string& default_palette_path);

  private:
    // The exit status; the output file is closed on every path, exceptions included.
    int write_geotiff(const std::string& output_path, const std::string& custom_rgb_path,
                      const std::string& default_rgb_path, const std::string& custom_palette_path,
                      const std::string& default_palette_path);

    qrd::pb::common::Product product;
    ColorType color_type;
    bool single_band;
    ColorTable color_table{};  // filled by the palette and RGB conversions
};

}  // namespace qrdcvt
