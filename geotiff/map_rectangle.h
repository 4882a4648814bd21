#pragma once

#include <tiffio.h>

#include <cstdint>
#include <ostream>

#include "radar.pb.h"

namespace qrdcvt {

// A band's extent: degrees or projected units, as its coordinate system has them.
struct MapRectangle {
    double west;
    double south;
    double east;
    double north;
};

std::ostream& operator<<(std::ostream& out, const MapRectangle& rectangle);

// The bounding box's corners; a missing corner counts as (0, 0).
MapRectangle corners_of(const qrd::pb::common::BoundingBox& box);

// Whether the corners lie within longitude and latitude bounds. NaN fails every comparison,
// so such corners count as projected.
bool in_geographic_range(const MapRectangle& corners);

// The tie point (raster point (0, 0) at the north-west corner) and the pixel scale of an
// image of width by height pixels covering rectangle.
void write_tie_point_and_scale(TIFF* tiff, const MapRectangle& rectangle, std::uint32_t width,
                               std::uint32_t height);

}  // namespace qrdcvt
