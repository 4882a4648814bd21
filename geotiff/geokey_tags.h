#pragma once

#include <ogr_spatialref.h>
#include <tiffio.h>

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace qrdcvt {

// The three tags that hold a file's GeoTIFF keys.
struct GeoKeyTags {
    std::vector<std::uint16_t> directory;
    std::vector<double> doubles;
    std::string ascii;
};

// The keys GDAL's GeoTIFF writer gives crs, taken from a one-pixel file it writes in memory;
// or why they can't stand for crs, when GDAL reads them back as another system.
std::variant<GeoKeyTags, std::string> geokey_tags_for(const OGRSpatialReference& crs);

// Sets the tags on the current directory, in place of keys of a GTIF handle.
void set_geokey_tags(TIFF* tiff, const GeoKeyTags& tags);

}  // namespace qrdcvt
