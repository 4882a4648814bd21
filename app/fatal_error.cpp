#include "fatal_error.h"

#include <cstdlib>

#include "simple_logger.h"

namespace qrdcvt {

void exit_with_error(const std::string& message) {
    corvane::rs::wr::log::SimpleLogger::getInstance()->error() << message << std::endl;
    std::exit(1);
}

}  // namespace qrdcvt
