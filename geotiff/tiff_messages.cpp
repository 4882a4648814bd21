#include "tiff_messages.h"

#include <tiffio.h>

#include <cstdarg>
#include <cstdio>
#include <ostream>

#include "simple_logger.h"

namespace qrdcvt {

namespace {

void log_tiff_message(const char* module, const char* format, va_list arguments) {
    char text[512];
    std::vsnprintf(text, sizeof text, format, arguments);
    std::ostream& line = corvane::rs::wr::log::SimpleLogger::getInstance()->trace();
    line << "libtiff: ";
    if (module != nullptr) line << module << ": ";
    line << text << std::endl;
}

}  // namespace

void route_tiff_messages_to_log() {
    TIFFSetErrorHandler(&log_tiff_message);
    TIFFSetWarningHandler(&log_tiff_message);
}

}  // namespace qrdcvt
