#pragma once

#include "ogr_handles.h"
#include "radar.pb.h"

namespace qrdcvt {

// The coordinate system of a band's corners, from the first of the projection's forms that
// OGR accepts: epsg ("AUTHORITY:CODE"), wkt, proj4, then parameters. Null when none does.
SpatialReferencePtr build_source_reference(const qrd::pb::common::Projection& projection);

}  // namespace qrdcvt
