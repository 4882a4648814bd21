#include "native_georeference.h"

#include <string>
#include <variant>

#include "geokey_tags.h"
#include "map_rectangle.h"
#include "ogr_handles.h"
#include "simple_logger.h"
#include "spatial_reference.h"

namespace qrdcvt {

namespace {

using corvane::rs::wr::log::SimpleLogger;

// OGR's placeholders for a system that was given no name.
bool has_name(const OGRSpatialReference& crs) {
    const char* name = crs.GetName();
    return name != nullptr && std::string(name) != "unnamed" && std::string(name) != "unknown";
}

// The EPSG entry that OGR finds to be the same system with full confidence, so that the keys
// can name its code; crs itself when it names a code already or none is certain. Full
// confidence takes the same name, so a system without one (from PROJ.4 or parameters) is
// not looked up: the search through PROJ's database costs more than the whole band.
SpatialReferencePtr identified(SpatialReferencePtr crs) {
    if (crs->GetAuthorityCode(nullptr) != nullptr || !has_name(*crs)) return crs;
    int count = 0;
    int* confidences = nullptr;
    OGRSpatialReferenceH* matches = crs->FindMatches(nullptr, &count, &confidences);
    const bool certain =
        count >= 1 && confidences[0] == 100 && (count == 1 || confidences[1] < 100);
    if (certain) {
        crs.reset(OGRSpatialReference::FromHandle(matches[0])->Clone());
        crs->SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
    }
    OSRFreeSRSArray(matches);
    CPLFree(confidences);
    return crs;
}

// Its name, or its PROJ.4 definition when OGR has none for it.
std::string described(const OGRSpatialReference& crs) {
    std::string text = has_name(crs) ? crs.GetName() : "";
    if (text.empty()) {
        char* definition = nullptr;
        if (crs.exportToProj4(&definition) == OGRERR_NONE) text = definition;
        CPLFree(definition);
    }
    const char* authority = crs.GetAuthorityName(nullptr);
    const char* code = crs.GetAuthorityCode(nullptr);
    if (authority != nullptr && code != nullptr)
        text += std::string(" (") + authority + ":" + code + ")";
    return text;
}

}  // namespace

bool write_native_georeference(TIFF* tiff, const qrd::pb::common::GeoReference& geo_reference,
                               std::uint32_t width, std::uint32_t height) {
    const MapRectangle corners = corners_of(geo_reference.bounding_box());
    if (in_geographic_range(corners)) return false;
    const QuietGdalErrors quiet;
    SpatialReferencePtr crs = empty_if_thrown<SpatialReferencePtr>(
        [&] { return build_source_reference(geo_reference.projection()); });
    if (!crs || !crs->IsProjected()) return false;
    crs = identified(std::move(crs));
    auto* log = SimpleLogger::getInstance();
    const auto tags = geokey_tags_for(*crs);
    if (const auto* why = std::get_if<std::string>(&tags)) {
        log->warn() << "Native coordinate system " << described(*crs) << " not written: " << *why
                    << "; placing the band in WGS84" << std::endl;
        return false;
    }
    log->info() << "Original coordinates: " << corners << std::endl;
    write_tie_point_and_scale(tiff, corners, width, height);
    set_geokey_tags(tiff, std::get<GeoKeyTags>(tags));
    log->info() << "Setting GeoTIFF coordinate system to the product's own: " << described(*crs)
                << std::endl;
    log->debug() << "GeoTIFF projection keys written" << std::endl;
    return true;
}

}  // namespace qrdcvt
