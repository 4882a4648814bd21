#pragma once

#include <string>

#include "band_layout.h"
#include "output_options.h"

namespace qrdcvt {

// Rewrites the complete one-band GeoTIFF at source as a Cloud-Optimized GeoTIFF at target,
// with GDAL's COG driver: tiles, overviews down to one tile, compressed as options say. The
// error line that ends the run, naming output_path (what target becomes), or empty.
std::string write_cog(const std::string& source, const std::string& target,
                      const std::string& output_path, const OutputOptions& options,
                      const BandLayout& layout);

}  // namespace qrdcvt
