#pragma once

#include <string>

#include "radar.pb.h"

namespace qrdcvt {

// The whole input file's bytes; a file that cannot be opened ends the process.
std::string read_input_file(const std::string& path);

// The envelope decoded from the input bytes; undecodable bytes end the process.
qrd::pb::common::InstrumentData parse_input(const std::string& bytes);

// The envelope's product; any other payload, or none, ends the process.
const qrd::pb::common::Product& require_product(const qrd::pb::common::InstrumentData& envelope);

// Ends the process unless the product's data is a raster data list.
void require_raster_data(const qrd::pb::common::Product& product);

// The name a product's kind of data is reported under when it is not raster data.
std::string data_kind_name(qrd::pb::common::Product::DataCase data_case);

}  // namespace qrdcvt
