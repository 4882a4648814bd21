#pragma once

#include <string>

#include "radar.pb.h"

namespace qrdcvt {

// Reads the whole input file's bytes into envelope, trying the five framings in order.
// Returns false when none yields a plausible message.
bool parse_input_file(const std::string& data, qrd::pb::common::InstrumentData& envelope);

}  // namespace qrdcvt
