#pragma once

#include <optional>
#include <string>

#include "radar.pb.h"

namespace qrdcvt {

// The ways an input file may frame its message, in the order they are tried.
enum class InputFraming {
    ENVELOPE,
    DELIMITED_ENVELOPE,
    DELIMITED_VOLUME,
    DELIMITED_PRODUCT,
    PRODUCT
};

// The framing's name as radmill-sample's --framing spells it, e.g. "delimited-product".
std::string framing_name(InputFraming framing);

// Reads the whole input file's bytes into envelope, trying the five framings in order.
// Returns false when none yields a plausible message.
bool parse_input_file(const std::string& data, qrd::pb::common::InstrumentData& envelope);

// parse_input_file telling which framing read the bytes; none when no framing did.
std::optional<InputFraming> parse_input_framing(const std::string& data,
                                                qrd::pb::common::InstrumentData& envelope);

}  // namespace qrdcvt
