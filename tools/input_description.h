#pragma once

#include <string>

#include "input_reader.h"
#include "radar.pb.h"

namespace radmill_info {

// What a product file holds, as indented JSON: {"framing": ..., "instrument_data": ...}, the
// envelope in protobuf's JSON mapping with the schema's own field names and every scalar
// printed. No bytes are printed: a buffer's "data" becomes an object of its size, compression,
// storage type and uncompressed_size, and any other bytes field an object of its size.
// Empties the envelope's bytes fields. Throws std::runtime_error when protobuf cannot print it.
std::string describe_input(qrdcvt::InputFraming framing, qrd::pb::common::InstrumentData& envelope);

}  // namespace radmill_info
