#pragma once

#include <string>

#include "color_scale_files.h"
#include "color_type.h"
#include "output_options.h"
#include "radar.pb.h"

namespace qrdcvt {

// Converts product into the GeoTIFF at output_path and ends the process: status 0 after a
// complete file, 1 after the first error line. The product is moved into the converter, not
// copied: a big raster is held once.
[[noreturn]] void convert(qrd::pb::common::Product&& product, const ColorType& color_type,
                          const std::string& output_path, const ColorScalePaths& scale_paths,
                          bool single_band, const OutputOptions& options);

// The same conversion, returning that exit status instead of ending the process.
int run_conversion(qrd::pb::common::Product&& product, const ColorType& color_type,
                   const std::string& output_path, const ColorScalePaths& scale_paths,
                   bool single_band, const OutputOptions& options);

}  // namespace qrdcvt
