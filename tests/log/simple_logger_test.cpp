#include "simple_logger.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

using corvane::rs::wr::log::SimpleLogger;

std::string logger_name() { return SimpleLogger::getInstance()->get_logger()->name(); }

TEST(SimpleLogger, FirstNameStaysUntilTheInstanceIsDestroyed) {
    SimpleLogger::destroyInstance();
    SimpleLogger* first = SimpleLogger::getInstance("radmill");
    EXPECT_EQ(SimpleLogger::getInstance("other"), first);
    EXPECT_EQ(logger_name(), "radmill");
    SimpleLogger::destroyInstance();
    SimpleLogger::destroyInstance();  // harmless once self is null
    EXPECT_EQ(logger_name(), "UnknownProgram");
    SimpleLogger::destroyInstance();
}

TEST(SimpleLogger, ExitHandlerCreatesAnUnnamedLoggerWhenNoneExists) {
    SimpleLogger::destroyInstance();
    corvane::rs::wr::log::exit_handler();
    EXPECT_EQ(logger_name(), "UnknownProgram");
    SimpleLogger::destroyInstance();
}

TEST(SimpleLoggerDeathTest, ExitFlushesAnOpenLineAndDestroysTheLoggerOnce) {
    EXPECT_EXIT(
        {
            SimpleLogger::destroyInstance();
            SimpleLogger* log = SimpleLogger::getInstance("radmill");
            SimpleLogger::getInstance();
            SimpleLogger::getInstance();
            std::atexit(corvane::rs::wr::log::exit_handler);
            log->info() << "last words";
            std::exit(0);
        },
        ::testing::ExitedWithCode(0), "\\[radmill\\] \\[info\\] last words\n");
}

}  // namespace
