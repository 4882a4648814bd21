#pragma once

#include "nimlog_stream.h"

namespace corvane::rs::wr::log {

// The process-wide logger. Obtain it with getInstance(); it lives until exit.
class SimpleLogger : public nimlog_stream {
  public:
    // Creates the instance on first call (named name, or "UnknownProgram" when null) and
    // registers destroyInstance with std::atexit on every call.
    static SimpleLogger* getInstance(const char* name = nullptr);
    static void destroyInstance();

    ~SimpleLogger() override;

  private:
    explicit SimpleLogger(const char* name);

    static SimpleLogger* self;
};

// Registered with std::atexit by main: flushes the logger before it is destroyed.
void exit_handler();

}  // namespace corvane::rs::wr::log
