#include "sample_geometry.h"

#include <cpl_error.h>
#include <ogr_spatialref.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <stdexcept>
#include <string>

namespace radmill_sample {

namespace {

namespace pb = qrd::pb::common;

constexpr double pixel_metres = 1000.0;
constexpr double metres_per_degree = 111320.0;  // along a meridian, near enough for a default

// Keeps GDAL's own error output quiet; failures are reported as this program's errors.
class QuietGdalErrors {
  public:
    QuietGdalErrors() { CPLPushErrorHandler(CPLQuietErrorHandler); }
    ~QuietGdalErrors() { CPLPopErrorHandler(); }
    QuietGdalErrors(const QuietGdalErrors&) = delete;
    QuietGdalErrors& operator=(const QuietGdalErrors&) = delete;
};

struct TransformationDeleter {
    void operator()(OGRCoordinateTransformation* transformation) const {
        OGRCoordinateTransformation::DestroyCT(transformation);
    }
};

int utm_code(const pb::ProjectionParameters& parameters) {
    const int zone_index = static_cast<int>((parameters.center_longitude() + 180.0) / 6.0);
    return (parameters.center_latitude() < 0 ? 32701 : 32601) + zone_index;
}

// Built as radmill builds it, so that the site lands where radmill will put it: WGS 84, false
// easting and northing 0, scale factor 1.
bool import_parameters(const pb::ProjectionParameters& p, OGRSpatialReference& reference) {
    const double lat = p.center_latitude();
    const double lon = p.center_longitude();
    switch (p.kind()) {
        case pb::AZIMUTHAL_EQUIDISTANT:
            reference.SetAE(lat, lon, 0, 0);
            break;
        case pb::MERCATOR:
            reference.SetMercator(lat, lon, 1.0, 0, 0);
            break;
        case pb::POLAR_STEREOGRAPHIC:
            reference.SetPS(lat, lon, 1.0, 0, 0);
            break;
        case pb::UTM:
            return reference.importFromEPSG(utm_code(p)) == OGRERR_NONE;
        case pb::GEOSTATIONARY:
            reference.SetGEOS(lon, 35786000.0, 0, 0);
            break;
        case pb::EQUIRECTANGULAR:
            reference.SetEquirectangular(lat, lon, 0, 0);
            break;
        case pb::GNOMONIC:
            reference.SetGnomonic(lat, lon, 0, 0);
            break;
        case pb::TRANSVERSE_MERCATOR:
            reference.SetTM(lat, lon, 1.0, 0, 0);
            break;
        case pb::LAMBERT_CONFORMAL_CONIC:
            reference.SetLCC(p.standard_parallel_1(), p.standard_parallel_2(), lat, lon, 0, 0);
            break;
        default:
            return false;
    }
    return reference.SetWellKnownGeogCS("WGS84") == OGRERR_NONE;
}

bool import_projection(const ProjectionChoice& choice, const pb::Projection& projection,
                       OGRSpatialReference& reference) {
    if (choice.form == ProjectionChoice::Form::PARAMETERS) {
        return import_parameters(projection.parameters(), reference);
    }
    return reference.importFromEPSG(choice.epsg_code) == OGRERR_NONE;
}

Edges degree_edges(const Site& site, int width, int height) {
    const double half_height = height / 2.0 * pixel_metres / metres_per_degree;
    const double parallel_metres =
        std::max(metres_per_degree * std::cos(site.latitude * M_PI / 180.0), 1.0);
    const double half_width = width / 2.0 * pixel_metres / parallel_metres;
    return Edges{
        std::max(site.longitude - half_width, -180.0), std::max(site.latitude - half_height, -90.0),
        std::min(site.longitude + half_width, 180.0), std::min(site.latitude + half_height, 90.0)};
}

std::string projection_text(const ProjectionChoice& choice) {
    return choice.form == ProjectionChoice::Form::PARAMETERS
               ? "the projection parameters"
               : "EPSG:" + std::to_string(choice.epsg_code);
}

}  // namespace

pb::Projection projection_message(const ProjectionChoice& choice, const Site& site) {
    pb::Projection projection;
    if (choice.form != ProjectionChoice::Form::PARAMETERS) {
        projection.set_epsg("EPSG:" + std::to_string(choice.epsg_code));
        return projection;
    }
    pb::ProjectionParameters& parameters = *projection.mutable_parameters();
    parameters.set_kind(choice.kind);
    parameters.set_center_latitude(site.latitude);
    parameters.set_center_longitude(site.longitude);
    if (choice.kind == pb::LAMBERT_CONFORMAL_CONIC) {
        parameters.set_standard_parallel_1(std::max(site.latitude - 5.0, -89.0));
        parameters.set_standard_parallel_2(std::min(site.latitude + 5.0, 89.0));
    }
    return projection;
}

Edges default_edges(const ProjectionChoice& choice, const pb::Projection& projection,
                    const Site& site, int width, int height) {
    const QuietGdalErrors quiet;
    OGRSpatialReference reference;
    if (!import_projection(choice, projection, reference)) {
        throw std::runtime_error("cannot build " + projection_text(choice) + "; give --bbox");
    }
    if (reference.IsGeographic()) return degree_edges(site, width, height);

    OGRSpatialReference wgs84;
    wgs84.importFromEPSG(4326);
    wgs84.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
    reference.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
    const std::unique_ptr<OGRCoordinateTransformation, TransformationDeleter> transformation(
        OGRCreateCoordinateTransformation(&wgs84, &reference));
    double x = site.longitude;
    double y = site.latitude;
    if (!transformation || !transformation->Transform(1, &x, &y) || !std::isfinite(x) ||
        !std::isfinite(y)) {
        throw std::runtime_error("cannot place the site in " + projection_text(choice) +
                                 "; give --bbox");
    }
    const double half_width = width / 2.0 * pixel_metres;
    const double half_height = height / 2.0 * pixel_metres;
    return Edges{x - half_width, y - half_height, x + half_width, y + half_height};
}

}  // namespace radmill_sample
