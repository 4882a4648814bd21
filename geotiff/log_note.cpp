#include "log_note.h"

#include <ostream>

#include "simple_logger.h"

namespace qrdcvt {

void write_note(const LogNote& note) {
    auto& log = *corvane::rs::wr::log::SimpleLogger::getInstance();
    std::ostream& line = note.level == LogNote::Level::INFO    ? log.info()
                         : note.level == LogNote::Level::DEBUG ? log.debug()
                                                               : log.trace();
    line << note.text << std::endl;
}

}  // namespace qrdcvt
