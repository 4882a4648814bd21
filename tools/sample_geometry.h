#pragma once

#include "radar.pb.h"
#include "sample_options.h"

namespace radmill_sample {

// The Projection message of choice; parameters are centred on the site.
qrd::pb::common::Projection projection_message(const ProjectionChoice& choice, const Site& site);

// Edges of a width x height raster of 1 km pixels centred on the site: in degrees when
// projection is geographic, in its metres otherwise. Throws std::runtime_error when the site
// cannot be placed in it.
Edges default_edges(const ProjectionChoice& choice, const qrd::pb::common::Projection& projection,
                    const Site& site, int width, int height);

}  // namespace radmill_sample
