#pragma once

#include <string>

namespace qrdcvt {

// A log line decided by a pure step and written by the driver when its moment comes.
struct LogNote {
    enum class Level { TRACE, DEBUG, INFO };
    Level level;
    std::string text;
};

void write_note(const LogNote& note);

}  // namespace qrdcvt
