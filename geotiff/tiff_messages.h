#pragma once

namespace qrdcvt {

// Sends libtiff's own errors and warnings to the log at trace level instead of standard
// error: the converter's error line reports a failure, these only explain it. Process-wide.
void route_tiff_messages_to_log();

// GDAL's GTiff driver takes libtiff's handlers for itself when first used. Wrap GDAL's work in
// one of these: when it goes, libtiff's messages come to the log again.
class TiffMessagesBackToLog {
  public:
    TiffMessagesBackToLog() = default;
    ~TiffMessagesBackToLog() { route_tiff_messages_to_log(); }
    TiffMessagesBackToLog(const TiffMessagesBackToLog&) = delete;
    TiffMessagesBackToLog& operator=(const TiffMessagesBackToLog&) = delete;
};

}  // namespace qrdcvt
