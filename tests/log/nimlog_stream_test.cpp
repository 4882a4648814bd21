#include "nimlog_stream.h"

#include <gtest/gtest.h>

#include "radmill_run.h"

namespace {

using radmill_test::log_records;
using radmill_test::read_file;
using Records = std::vector<std::string>;

// A record is in the file as soon as its line ends, so that a reader following the log sees
// it then, not when the next record starts; a line still open when the file changes belongs
// to the sinks it was started on.
TEST(NimlogStream, RecordsReachTheFileWhenTheirLineEnds) {
    const radmill_test::TempInstall scratch;
    nimlog_stream log("radmill");
    log.set_sink_off(STDERR_SINK);
    log.info() << "open line";
    ASSERT_TRUE(log.set_log_file(scratch.log_path().c_str(), false));
    log.debug() << "below the default level" << std::endl;
    log.info() << "first" << std::endl;
    EXPECT_EQ(log_records(read_file(scratch.log_path())), Records{"[info] first"});
}

}  // namespace
