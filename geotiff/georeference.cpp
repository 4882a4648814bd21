#include "georeference.h"

#include <xtiffio.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <utility>

#include "map_rectangle.h"
#include "native_georeference.h"
#include "ogr_handles.h"
#include "simple_logger.h"
#include "spatial_reference.h"

namespace qrdcvt {
namespace {

using corvane::rs::wr::log::SimpleLogger;
using qrd::pb::common::GeoReference;
using qrd::pb::common::RasterData;

constexpr int WGS84_EPSG = 4326;

// The rectangle to write, in WGS 84 degrees, and whether it came out of a conversion.
struct Placement {
    MapRectangle rectangle;
    bool converted;
};

// An empty band or georeference has neither a projection nor a bounding box.
bool has_georeference(const RasterData& band) {
    return band.has_geo_reference() && band.geo_reference().has_projection() &&
           band.geo_reference().has_bounding_box();
}

std::optional<std::pair<double, double>> to_wgs84(OGRSpatialReference& source, double x, double y) {
    const SpatialReferencePtr target = make_spatial_reference();
    if (target->importFromEPSG(WGS84_EPSG) != OGRERR_NONE) return std::nullopt;
    // x is longitude or easting and y latitude or northing on both sides.
    target->SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
    source.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
    // Declared after target, so it is destroyed before it.
    const TransformationPtr transformation(
        OGRCreateCoordinateTransformation(&source, target.get()));
    if (!transformation || !transformation->Transform(1, &x, &y)) return std::nullopt;
    return std::make_pair(x, y);
}

// The bounding rectangle of all four converted corners: a projected rectangle's south-west and
// north-east corners alone need not span it. None when any corner fails.
std::optional<MapRectangle> convert_corners(OGRSpatialReference& source,
                                            const MapRectangle& corners) {
    const std::pair<double, double> points[] = {{corners.west, corners.south},
                                                {corners.east, corners.south},
                                                {corners.west, corners.north},
                                                {corners.east, corners.north}};
    constexpr double inf = std::numeric_limits<double>::infinity();
    MapRectangle bounds{inf, inf, -inf, -inf};
    for (const auto& [x, y] : points) {
        const auto point = to_wgs84(source, x, y);
        if (!point) return std::nullopt;
        bounds.west = std::min(bounds.west, point->first);
        bounds.east = std::max(bounds.east, point->first);
        bounds.south = std::min(bounds.south, point->second);
        bounds.north = std::max(bounds.north, point->second);
    }
    return bounds;
}

// A rectangle that can't be converted is kept as given, its numbers taken as degrees.
Placement place(const GeoReference& geo_reference) {
    auto* log = SimpleLogger::getInstance();
    const MapRectangle corners = corners_of(geo_reference.bounding_box());
    log->info() << "Original coordinates: " << corners << std::endl;
    if (in_geographic_range(corners)) {
        log->info() << "Coordinates appear to be in geographic range, assuming WGS84" << std::endl;
        return {corners, false};
    }
    log->info() << "Coordinates are in projected system, transforming to WGS84" << std::endl;

    const QuietGdalErrors quiet;
    const SpatialReferencePtr source = empty_if_thrown<SpatialReferencePtr>(
        [&] { return build_source_reference(geo_reference.projection()); });
    if (!source) {
        log->warn() << "Could not create spatial reference, using original coordinates"
                    << std::endl;
        return {corners, false};
    }
    const auto converted = empty_if_thrown<std::optional<MapRectangle>>(
        [&] { return convert_corners(*source, corners); });
    if (!converted) {
        log->warn() << "Coordinate transformation failed, using original coordinates" << std::endl;
        return {corners, false};
    }
    log->info() << "Transformed to WGS84: " << *converted << std::endl;
    return {*converted, true};
}

void set_wgs84_keys(GTIF* gtif) {
    GTIFKeySet(gtif, GTRasterTypeGeoKey, TYPE_SHORT, 1, RasterPixelIsArea);
    GTIFKeySet(gtif, GTModelTypeGeoKey, TYPE_SHORT, 1, ModelTypeGeographic);
    GTIFKeySet(gtif, GeographicTypeGeoKey, TYPE_SHORT, 1, GCS_WGS_84);
    GTIFKeySet(gtif, GeogAngularUnitsGeoKey, TYPE_SHORT, 1, Angular_Degree);
}

}  // namespace

void write_georeference(TIFF* tiff, GTIF* gtif, const RasterData& band, std::uint32_t width,
                        std::uint32_t height, Georeference georeference) {
    auto* log = SimpleLogger::getInstance();
    if (!has_georeference(band)) {
        log->warn() << "No georeference data in product, using default EPSG:4326 (WGS 84)"
                    << std::endl;
        set_wgs84_keys(gtif);
        GTIFWriteKeys(gtif);
        log->debug() << "Default GeoTIFF CRS (EPSG:4326) written" << std::endl;
        return;
    }
    if (georeference == Georeference::NATIVE &&
        write_native_georeference(tiff, band.geo_reference(), width, height)) {
        return;
    }

    const Placement placement = place(band.geo_reference());
    write_tie_point_and_scale(tiff, placement.rectangle, width, height);
    log->info() << "Setting GeoTIFF coordinate system to WGS84 (EPSG:4326)" << std::endl;
    set_wgs84_keys(gtif);
    const char* outcome =
        placement.converted
            ? "Coordinate transformation applied: projected coordinates converted to WGS84"
            : "Using original coordinates as WGS84";
    log->info() << outcome << std::endl;
    GTIFWriteKeys(gtif);
    log->debug() << "GeoTIFF projection keys written" << std::endl;
}

}  // namespace qrdcvt
