#include "spatial_reference.h"

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <string>

namespace qrdcvt {
namespace {

using qrd::pb::common::Projection;
using qrd::pb::common::ProjectionParameters;
namespace pb = qrd::pb::common;

constexpr double WGS84_SEMI_MAJOR_M = 6378137.0;
constexpr double WGS84_INVERSE_FLATTENING = 298.257223563;
constexpr double GEOSTATIONARY_HEIGHT_M = 35786000.0;

// The code after the first colon, read the way strtol reads it (leading blanks, a sign and
// trailing characters allowed). None without a colon or without a 32-bit decimal number.
std::optional<int> epsg_code(const std::string& text) {
    const std::size_t colon = text.find(':');
    if (colon == std::string::npos) return std::nullopt;
    const char* digits = text.c_str() + colon + 1;
    char* end = nullptr;
    errno = 0;
    const long code = std::strtol(digits, &end, 10);
    if (end == digits || errno == ERANGE || code < INT_MIN || code > INT_MAX) return std::nullopt;
    return static_cast<int>(code);
}

// Zones are 6 degrees wide counted from -180; the latitude's sign picks the hemisphere.
std::optional<int> utm_code(const ProjectionParameters& parameters) {
    const double zone = std::trunc((parameters.center_longitude() + 180.0) / 6.0);
    const double code = (parameters.center_latitude() < 0 ? 32701.0 : 32601.0) + zone;
    if (!(code >= INT_MIN && code <= INT_MAX)) return std::nullopt;  // NaN fails too
    return static_cast<int>(code);
}

bool import_epsg(OGRSpatialReference& reference, std::optional<int> code) {
    return code && reference.importFromEPSG(*code) == OGRERR_NONE;
}

bool set_from_parameters(OGRSpatialReference& reference, const ProjectionParameters& parameters) {
    const double lat = parameters.center_latitude();
    const double lon = parameters.center_longitude();
    switch (parameters.kind()) {
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
            return import_epsg(reference, utm_code(parameters));
        case pb::GEOSTATIONARY:
            reference.SetGEOS(lon, GEOSTATIONARY_HEIGHT_M, 0, 0);
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
            reference.SetLCC(parameters.standard_parallel_1(), parameters.standard_parallel_2(),
                             lat, lon, 0, 0);
            break;
        default:
            return false;
    }
    // Without a prime meridian name and unit, OGR takes Greenwich and degrees.
    reference.SetGeogCS("WGS 84", "WGS_1984", "WGS 84", WGS84_SEMI_MAJOR_M,
                        WGS84_INVERSE_FLATTENING, nullptr, 0, nullptr, 0);
    return true;
}

bool from_epsg(OGRSpatialReference& reference, const Projection& projection) {
    return import_epsg(reference, epsg_code(projection.epsg()));
}

bool from_wkt(OGRSpatialReference& reference, const Projection& projection) {
    return !projection.wkt().empty() &&
           reference.importFromWkt(projection.wkt().c_str()) == OGRERR_NONE;
}

bool from_proj4(OGRSpatialReference& reference, const Projection& projection) {
    return !projection.proj4().empty() &&
           reference.importFromProj4(projection.proj4().c_str()) == OGRERR_NONE;
}

bool from_parameters(OGRSpatialReference& reference, const Projection& projection) {
    return projection.has_parameters() && set_from_parameters(reference, projection.parameters());
}

}  // namespace

SpatialReferencePtr build_source_reference(const Projection& projection) {
    // Each form gets a fresh reference, so nothing of a failed import carries over.
    for (auto* build : {from_epsg, from_wkt, from_proj4, from_parameters}) {
        SpatialReferencePtr reference = make_spatial_reference();
        if (build(*reference, projection)) return reference;
    }
    return nullptr;
}

}  // namespace qrdcvt
