#include "simple_logger.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

using corvane::rs::wr::log::SimpleLogger;

TEST(SimpleLogger, ExitHandlerCreatesAnUnnamedLoggerWhenNoneExists) {
    SimpleLogger::destroyInstance();
    corvane::rs::wr::log::exit_handler();
    EXPECT_EQ(SimpleLogger::getInstance("radmill")->get_logger()->name(), "UnknownProgram");
    SimpleLogger::destroyInstance();
    SimpleLogger::destroyInstance();  // harmless once the instance is gone
}

// The first name stays, and destroyInstance, registered by every getInstance call, destroys
// the logger once, after exit_handler has flushed the open line.
TEST(SimpleLoggerDeathTest, ExitFlushesAnOpenLineAndDestroysTheLoggerOnce) {
    EXPECT_EXIT(
        {
            SimpleLogger::destroyInstance();
            SimpleLogger::getInstance("radmill");
            SimpleLogger::getInstance("other");
            std::atexit(corvane::rs::wr::log::exit_handler);
            SimpleLogger::getInstance()->info() << "last words";
            std::exit(0);
        },
        ::testing::ExitedWithCode(0), "\\[radmill\\] \\[info\\] last words\n");
}

}  // namespace
