#include "simple_logger.h"

#include <cstdlib>

namespace corvane::rs::wr::log {

SimpleLogger* SimpleLogger::self = nullptr;

SimpleLogger::SimpleLogger(const char* name) : nimlog_stream(name) {}

SimpleLogger::~SimpleLogger() = default;

SimpleLogger* SimpleLogger::getInstance(const char* name) {
    if (self == nullptr) self = new SimpleLogger(name != nullptr ? name : "UnknownProgram");
    std::atexit(&SimpleLogger::destroyInstance);
    return self;
}

void SimpleLogger::destroyInstance() {
    if (self == nullptr) return;
    delete self;
    self = nullptr;
}

void exit_handler() { SimpleLogger::getInstance()->flush(); }

}  // namespace corvane::rs::wr::log
