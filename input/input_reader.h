#pragma once

#include "radar.pb.h"

#include <string>

namespace qrdcvt {

// Reads the whole input file's bytes into envelope, trying the five framings in order.
// Returns false when none yields a plausible message.
bool parse_input_file(const std::string& data, qrd::pb::common::InstrumentData& envelope);

}  // namespace qrdcvt
