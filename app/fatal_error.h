#pragma once

#include <string>

namespace qrdcvt {

// Logs message as one error line and ends the process with status 1.
[[noreturn]] void exit_with_error(const std::string& message);

}  // namespace qrdcvt
