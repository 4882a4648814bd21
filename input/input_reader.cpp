#include "input_reader.h"

namespace qrdcvt {

bool parse_input_file(const std::string&, qrd::pb::common::InstrumentData&) { return false; }

}  // namespace qrdcvt
