#pragma once

#include <map>
#include <string>

#include "band_layout.h"
#include "band_scale.h"
#include "radar.pb.h"

namespace qrdcvt {

// GDAL metadata items of one directory, name -> value, in byte-wise name order.
using MetadataItems = std::map<std::string, std::string>;

// The radar, quantity, scaling, statistics (when given) and colour-table items of a band.
// scale_description is the run's SCALE item, which replaces the band's step when not empty.
MetadataItems build_metadata_items(const qrd::pb::common::Product& product,
                                   const qrd::pb::common::RasterData& band, const BandScale& scale,
                                   const std::string& scale_description,
                                   const BandStatistics* statistics);

// The text of a DataDescriptor unit code; empty for codes without one.
std::string unit_to_string(int unit);

}  // namespace qrdcvt
