#pragma once

#include <tiffio.h>

#include <cstdint>

#include "radar.pb.h"

namespace qrdcvt {

// Writes a projected band in its own coordinate system: its corners as they are, and the
// GeoTIFF keys of the system its projection defines. False, with the directory untouched,
// when the band is geographic, no projected system can be built, or the keys can't hold it (that
// last after a warn line saying so): the band is then placed in WGS 84 as by default.
bool write_native_georeference(TIFF* tiff, const qrd::pb::common::GeoReference& geo_reference,
                               std::uint32_t width, std::uint32_t height);

}  // namespace qrdcvt
