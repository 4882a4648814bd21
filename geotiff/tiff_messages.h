#pragma once

namespace qrdcvt {

// Sends libtiff's own errors and warnings to the log at trace level instead of standard
// error: the converter's error line reports a failure, these only explain it. Process-wide.
void route_tiff_messages_to_log();

}  // namespace qrdcvt
