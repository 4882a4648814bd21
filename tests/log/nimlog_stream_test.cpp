#include "nimlog_stream.h"

#include "radmill_run.h"

#include <gtest/gtest.h>
#include <spdlog/sinks/ostream_sink.h>

#include <filesystem>
#include <sstream>

namespace {

using Lines = std::vector<std::string>;

// Collects the records of a stream as "level|message" lines, next to its own sinks.
class RecordCapture {
public:
    explicit RecordCapture(nimlog_stream& stream) {
        auto sink = std::make_shared<spdlog::sinks::ostream_sink_st>(text_);
        sink->set_pattern("%l|%v");
        stream.get_logger()->sinks().push_back(sink);
    }
    Lines records() const {
        Lines lines;
        std::istringstream in(text_.str());
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        return lines;
    }

private:
    std::ostringstream text_;
};

TEST(NimlogStream, RecordsStartOnStandardErrorAtInfo) {
    nimlog_stream stream("tester");
    ::testing::internal::CaptureStderr();
    stream.debug() << "hidden" << std::endl;
    stream.info() << "shown" << std::endl;
    const std::string text = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(text.find("hidden"), std::string::npos);
    EXPECT_NE(text.find("] [tester] [info] shown\n"), std::string::npos) << text;
}

TEST(NimlogStream, EachLineIsOneRecordAtTheLevelSelectedForIt) {
    nimlog_stream stream("tester");
    stream.set_sink_off(STDERR_SINK);
    stream.get_logger()->set_level(spdlog::level::trace);
    RecordCapture capture(stream);
    stream.info() << "value " << 42 << std::endl;
    stream.warn() << "first\nsecond" << std::endl;
    stream.debug() << "left open";
    stream.error() << "next" << std::endl;
    stream.trace() << 1.5 << std::endl;
    EXPECT_EQ(capture.records(), (Lines{"info|value 42", "warning|first", "warning|second",
                                        "debug|left open", "error|next", "trace|1.5"}));
}

TEST(NimlogStream, LogFileInMissingDirectoryFailsAndTurnsStandardErrorBackOn) {
    radmill_test::TempInstall scratch;
    const std::string path = scratch.path("absent/radmill.log");
    nimlog_stream stream("tester");
    stream.set_sink_off(STDERR_SINK);
    RecordCapture capture(stream);
    ::testing::internal::CaptureStderr();
    EXPECT_FALSE(stream.set_log_file(path.c_str(), true));
    stream.info() << "still seen" << std::endl;
    const std::string stderr_text = ::testing::internal::GetCapturedStderr();
    EXPECT_FALSE(std::filesystem::exists(scratch.path("absent")));
    EXPECT_EQ(capture.records(), (Lines{"error|Cannot open log file: Failed opening file " + path +
                                            " for writing: No such file or directory",
                                        "info|still seen"}));
    EXPECT_NE(stderr_text.find("still seen"), std::string::npos);
}

}  // namespace
