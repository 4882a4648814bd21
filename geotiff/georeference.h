#pragma once

#include <geotiffio.h>
#include <tiffio.h>

#include <cstdint>

#include "output_options.h"
#include "radar.pb.h"

namespace qrdcvt {

// Writes the current directory's tie point and pixel scale (when the band is georeferenced)
// and its keys: geographic WGS 84 ones, or with NATIVE those of a projected band's own
// system where it can be written. width and height are the image's, shared by all bands.
void write_georeference(TIFF* tiff, GTIF* gtif, const qrd::pb::common::RasterData& band,
                        std::uint32_t width, std::uint32_t height, Georeference georeference);

}  // namespace qrdcvt
