// The command-line front end through the built binary. Runs that get through all of it stop at
// an input file that does not exist, which keeps them independent of input decoding.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <regex>
#include <sstream>

#include "radmill_run.h"

namespace {

using radmill_test::run_radmill;
using radmill_test::RunResult;
using radmill_test::TempInstall;
using Args = std::vector<std::string>;
using Lines = std::vector<std::string>;
using Env = std::map<std::string, std::string>;

const std::string help_text =
    "Options:\n"
    "  -h [ --help ]                        produce help message\n"
    "  -v [ --version ]                     show version information\n"
    "  -l [ --log-level ] arg               Log level (trace, debug, info, warn, \n"
    "                                       error, critical)\n"
    "  --if arg (=-)                        Filename for protobuf binary file\n"
    "  -i [ --ip ] arg                      Full path to protobuf binary file \n"
    "                                       (mandatory)\n"
    "  -o [ --op ] arg (=-)                 geoTIFF output file, default \"-\": stdout\n"
    "  -t [ --color-type ] arg (=grayscale) Color type for output GeoTIFF (palette, \n"
    "                                       rgb, grayscale, float)\n";

const std::string level_set_info = "[info] Log level set to 'info'";
const std::string cannot_open = "[error] Cannot open input file: ";

// The records of a log as "[level] message", each checked against the record layout.
Lines records_of(const std::string& log) {
    const std::regex layout(R"(\[\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{3}\] \[radmill\] \[\w+\] .+)");
    Lines records;
    std::istringstream lines(log);
    for (std::string line; std::getline(lines, line);) {
        EXPECT_TRUE(std::regex_match(line, layout)) << line;
        records.push_back("[" + radmill_test::record_level(line) + "] " +
                          radmill_test::record_message(line));
    }
    return records;
}

// Runs radmill with args followed by an input path that does not exist.
RunResult run_to_input(const TempInstall& install, Args args, const Env& env) {
    args.push_back(install.path("missing.pb"));
    return run_radmill(args, env);
}

// The log of a run that reached the input file at level info.
Lines reached_input(const TempInstall& install) {
    return {level_set_info, cannot_open + install.path("missing.pb")};
}

TEST(FrontEnd, StandardErrorOnlyOutcomes) {
    const std::string missing_ip = "the option '--ip' is required but missing\n" + help_text;
    const std::string second_input = "only one input path may be given, but got 'a.pb', 'b.pb'\n";
    const struct {
        Args args;
        int status;
        std::string stderr_text;
    } cases[] = {
        {{"-h"}, 0, help_text},
        {{"-v"}, 0, "v10.5.2\n"},
        {{"-v", "-h"}, 0, "v10.5.2\n"},
        {{}, 1, missing_ip},
        {{"-i"}, 1, "the required argument for option '--ip' is missing\n"},
        {{"-i", "a.pb", "-i", "b.pb"}, 1, second_input},
        {{"a.pb", "b.pb"}, 1, second_input},
        {{"a.pb", "-o", "x", "-o", "y"}, 1, "option '--op' cannot be specified more than once\n"},
    };
    TempInstall install;
    install.write_config("append_log = true\n");
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.args));
        const RunResult result = run_radmill(c.args, install.env());
        EXPECT_EQ(result.status, c.status);
        EXPECT_EQ(result.stderr_text, c.stderr_text);
        EXPECT_FALSE(radmill_test::file_exists(install.log_path()));
    }
}

// A wrong colour type is reported before the configuration is looked for; both stop the run
// before the log file is set up.
TEST(FrontEnd, ColorTypeAndConfigurationErrorsGoToStandardErrorAsOneRecord) {
    unsetenv("ALVO_CONFIG");  // not inherited from the test's own environment
    TempInstall install;
    const std::string bad_word = "[error] Invalid color type specified: ";
    const std::string valid_words = ". Valid options are: palette, rgb, grayscale, float.";
    const std::string not_found = "[error] Could not find the configuration file radmill.conf at ";
    const std::string templates =
        " try importing radmill.conf file from /etc/corvane/alvoacq_templates";
    const std::string invalid =
        "[error] Invalid configuration file " + install.config_dir() + "radmill.conf";
    const Env own = install.env();
    // Neither a template variable nor a lower-case name is read.
    const Env unread = {{"ALVO_CONFIG_TEMPLATE", install.config_dir()},
                        {"alvo_config", install.config_dir()}};
    const struct {
        Args args;
        Env env;
        const char* config;  // null: no radmill.conf
        std::string record;
    } cases[] = {
        {{"-t", "Palette"}, own, nullptr, bad_word + "Palette" + valid_words},
        {{"-t", ""}, own, nullptr, bad_word + valid_words},
        {{}, unread, "append_log = true\n", not_found + "/etc/corvane/alvoacq" + templates},
        {{}, own, nullptr, not_found + install.config_dir() + templates},
        {{}, own, "append_log = 1\nappend_log = 2\n", invalid + " (line 2): duplicate key name"},
        {{},
         own,
         "[site]\nappend_log = true\n",
         invalid + ": the required top-level key 'append_log' is missing"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.record);
        std::filesystem::remove(install.config_dir() + "radmill.conf");
        if (c.config != nullptr) install.write_config(c.config);
        const RunResult result = run_to_input(install, c.args, c.env);
        EXPECT_EQ(result.status, 1);
        EXPECT_EQ(records_of(result.stderr_text), Lines{c.record});
        EXPECT_FALSE(radmill_test::file_exists(install.log_path()));
    }
}

// Directory values are prefixes of the file names, and unknown options (each named in a warn
// record) and "--if" are ignored.
TEST(FrontEnd, AcceptedRunReachesTheInputFile) {
    TempInstall install;
    radmill_test::write_file(install.config_dir() + "site-radmill.conf", "append_log = true\n");
    const Env env = {{"ALVO_CONFIG", install.config_dir() + "site-"},
                     {"ALVO_LOG", install.log_dir() + "run-"}};
    const RunResult result =
        run_to_input(install, {"--frobnicate", "-x", "--if", "other.pb", "-i"}, env);
    EXPECT_EQ(result.status, 1);
    const std::string log = radmill_test::read_file(install.log_dir() + "run-radmill.log");
    EXPECT_EQ(result.stderr_text, radmill_test::error_records(log));
    const std::string ignoring = "[warning] Ignoring unrecognised option: ";
    EXPECT_EQ(records_of(log), (Lines{level_set_info, ignoring + "--frobnicate", ignoring + "-x",
                                      reached_input(install).back()}));
    // "-" is a file name like any other: standard input is never read.
    install.write_config("append_log = false\n");
    EXPECT_EQ(run_radmill({"-"}, install.env()).status, 1);
    EXPECT_EQ(records_of(install.log_text()), (Lines{level_set_info, cannot_open + "-"}));
}

TEST(FrontEnd, LogLevelComesFromCommandLineThenConfigurationThenInfo) {
    const std::string set_to = "[info] Log level set to '";
    const std::string overridden = "[info] Log level overridden by command line '";
    const std::string invalid = "[warning] Invalid log level '";
    const std::string tail =
        "', using default 'info'. Valid levels: trace, debug, info, warn, error, critical";
    TempInstall install;
    const std::string open = reached_input(install).back();
    const struct {
        std::string config_lines;
        Args args;
        Lines records;
    } cases[] = {
        {"log_level = debug\n", {}, {set_to + "debug'", open}},
        {"log_level = debug\n", {"-l", "error"}, {overridden + "error'", open}},
        {"", {"--log-level", "trace"}, {overridden + "trace'", set_to + "trace'", open}},
        {"log_level = err\n", {}, {open}},
        {"log_level = off\n", {}, {}},
        {"log_level = debug\n", {"-l", "off"}, {overridden + "off'"}},
        {"log_level = loud\n", {}, {invalid + "loud" + tail, open}},
        {"", {"-l", "verbose"}, {overridden + "verbose'", invalid + "verbose" + tail, open}},
        {"[logging]\nlog_level = debug\n", {}, {level_set_info, open}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.config_lines + ::testing::PrintToString(c.args));
        install.write_config("append_log = false\n" + c.config_lines);
        EXPECT_EQ(run_to_input(install, c.args, install.env()).status, 1);
        EXPECT_EQ(records_of(install.log_text()), c.records);
    }
}

TEST(FrontEnd, AppendLogTrueAppendsAnythingElseTruncates) {
    const std::string earlier = "[2024-06-01 10:00:00.000] [radmill] [info] earlier";
    TempInstall install;
    for (const std::string value : {"true", "yes", "True"}) {
        SCOPED_TRACE(value);
        install.write_config("append_log = " + value + "\n");
        radmill_test::write_file(install.log_path(), earlier + "\n");
        run_to_input(install, {}, install.env());
        Lines expected = reached_input(install);
        if (value == "true") expected.insert(expected.begin(), "[info] earlier");
        EXPECT_EQ(records_of(install.log_text()), expected);
    }
}

}  // namespace
