#pragma once

#include <map>
#include <string>

#include "band_layout.h"
#include "radar.pb.h"

namespace qrdcvt {

// GDAL metadata items of one directory, name -> value, in byte-wise name order.
using MetadataItems = std::map<std::string, std::string>;

// The radar, quantity, scaling, statistics (when given) and colour-table items of a band.
// instrument_name and product_name are the colour-lookup keys of the conversion.
MetadataItems build_metadata_items(const qrd::pb::common::Product& product,
                                   const qrd::pb::common::RasterData& band,
                                   const std::string& instrument_name,
                                   const std::string& product_name,
                                   const BandStatistics* statistics);

// The text of a DataDescriptor unit code; empty for codes without one.
std::string unit_to_string(int unit);

}  // namespace qrdcvt
