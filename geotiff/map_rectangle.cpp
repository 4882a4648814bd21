#include "map_rectangle.h"

#include <xtiffio.h>

#include <cmath>

namespace qrdcvt {

std::ostream& operator<<(std::ostream& out, const MapRectangle& rectangle) {
    return out << "SW(" << rectangle.west << ", " << rectangle.south << ") NE(" << rectangle.east
               << ", " << rectangle.north << ")";
}

MapRectangle corners_of(const qrd::pb::common::BoundingBox& box) {
    return {box.south_west().x(), box.south_west().y(), box.north_east().x(), box.north_east().y()};
}

bool in_geographic_range(const MapRectangle& corners) {
    return corners.west >= -180 && corners.east <= 180 && corners.south >= -90 &&
           corners.north <= 90;
}

void write_tie_point_and_scale(TIFF* tiff, const MapRectangle& rectangle, std::uint32_t width,
                               std::uint32_t height) {
    double tie_point[6] = {0, 0, 0, rectangle.west, rectangle.north, 0};
    // The x scale keeps its sign, so corners given east of west stay mirrored.
    double pixel_scale[3] = {(rectangle.east - rectangle.west) / width,
                             std::fabs((rectangle.north - rectangle.south) / height), 0};
    TIFFSetField(tiff, TIFFTAG_GEOTIEPOINTS, 6, tie_point);
    TIFFSetField(tiff, TIFFTAG_GEOPIXELSCALE, 3, pixel_scale);
}

}  // namespace qrdcvt
