#include "sample_geometry.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <stdexcept>
#include <string>

#include "spatial_reference.h"

namespace radmill_sample {

namespace {

namespace pb = qrd::pb::common;

constexpr double pixel_metres = 1000.0;
constexpr double metres_per_degree = 111320.0;  // along a meridian, near enough for a default

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
    // Built by radmill's own reader of projections, so that the site lands where radmill
    // will put it.
    const qrdcvt::QuietGdalErrors quiet;
    const qrdcvt::SpatialReferencePtr reference = qrdcvt::build_source_reference(projection);
    if (!reference) {
        throw std::runtime_error("cannot build " + projection_text(choice) + "; give --bbox");
    }
    if (reference->IsGeographic()) return degree_edges(site, width, height);

    const qrdcvt::SpatialReferencePtr wgs84 = qrdcvt::make_spatial_reference();
    wgs84->importFromEPSG(4326);
    wgs84->SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
    reference->SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
    const qrdcvt::TransformationPtr transformation(
        OGRCreateCoordinateTransformation(wgs84.get(), reference.get()));
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
