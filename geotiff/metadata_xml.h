#pragma once

#include <string>

#include "metadata_items.h"

namespace qrdcvt {

// The GDAL_METADATA text of items: one dataset-level Item element per entry, in name order.
// & < > " are escaped as GDAL writes them, names once and values twice (GDAL's reader
// un-escapes values once more after parsing the XML); other text is copied as it is.
std::string metadata_to_xml(const MetadataItems& items);

}  // namespace qrdcvt
