// The command-line front end through the built binary: options, installation directories,
// configuration file and log set-up. Runs that get through all of it stop at an input file
// that does not exist, which keeps them independent of input decoding and conversion.
#include "radmill_run.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <regex>
#include <sstream>

namespace {

using radmill_test::record_level;
using radmill_test::record_message;
using radmill_test::run_radmill;
using radmill_test::RunResult;
using radmill_test::TempInstall;
using Args = std::vector<std::string>;
using Lines = std::vector<std::string>;

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

const std::string valid_config = "append_log = true\n";
const std::string level_set_info = "Log level set to 'info'";

Lines messages_of(const std::string& records) {
    Lines messages;
    std::istringstream lines(records);
    for (std::string line; std::getline(lines, line);) messages.push_back(record_message(line));
    return messages;
}

// The input path that every run through the whole front end stops at.
std::string missing_input(const TempInstall& install) { return install.path("missing.pb"); }

std::string cannot_open(const TempInstall& install) {
    return "Cannot open input file: " + missing_input(install);
}

// Replaces the word "INPUT" in args by the missing input path.
Args with_input(const TempInstall& install, Args args) {
    for (auto& arg : args) {
        const auto at = arg.find("INPUT");
        if (at != std::string::npos) arg.replace(at, 5, missing_input(install));
    }
    return args;
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
        {{"--help", "-t", "bogus"}, 0, help_text},
        {{"-v"}, 0, "v10.5.2\n"},
        {{"--version", "in.pb"}, 0, "v10.5.2\n"},
        {{"-v", "-h"}, 0, "v10.5.2\n"},
        {{"-h", "-v"}, 0, "v10.5.2\n"},
        {{}, 1, missing_ip},
        {{"-t", "palette", "--if", "in.pb"}, 1, missing_ip},
        {{"-i"}, 1, "the required argument for option '--ip' is missing\n"},
        {{"in.pb", "-l"}, 1, "the required argument for option '--log-level' is missing\n"},
        {{"in.pb", "--color-type"}, 1,
         "the required argument for option '--color-type' is missing\n"},
        {{"-i", "a.pb", "-i", "b.pb"}, 1, second_input},
        {{"a.pb", "b.pb"}, 1, second_input},
        {{"-i", "a.pb", "b.pb", "c.pb"}, 1,
         "only one input path may be given, but got 'a.pb', 'b.pb', 'c.pb'\n"},
        {{"in.pb", "-o", "a.tif", "-o", "b.tif"}, 1,
         "option '--op' cannot be specified more than once\n"},
        {{"in.pb", "--version=1"}, 1, "option '--version' does not take any arguments\n"},
    };
    TempInstall install;
    install.write_config(valid_config);
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.args));
        const RunResult result = run_radmill(c.args, install.env());
        EXPECT_EQ(result.status, c.status);
        EXPECT_EQ(result.stderr_text, c.stderr_text);
        EXPECT_FALSE(radmill_test::file_exists(install.log_path()));
    }
}

TEST(FrontEnd, WrongColorTypeIsReportedBeforeTheConfigurationIsLookedFor) {
    TempInstall install;  // no radmill.conf
    for (const std::string word : {"Palette", "RGB", "grey", ""}) {
        const RunResult result = run_radmill({"-t", word, "in.pb"}, install.env());
        EXPECT_EQ(result.status, 1);
        EXPECT_EQ(messages_of(result.stderr_text),
                  Lines{"Invalid color type specified: " + word +
                        ". Valid options are: palette, rgb, grayscale, float."});
    }
}

TEST(FrontEnd, MissingConfigurationNamesTheConfigurationAndTemplateDirectories) {
    // The test must not inherit a configuration directory of its own environment.
    unsetenv("ALVO_CONFIG");
    TempInstall install;
    const std::string defaults =
        "Could not find the configuration file radmill.conf at /etc/corvane/alvoacq try "
        "importing radmill.conf file from /etc/corvane/alvoacq_templates";
    const struct {
        std::map<std::string, std::string> env;
        std::string message;
    } cases[] = {
        {{{"ALVO_LOG", install.log_dir()}}, defaults},
        // Neither a template variable nor a lower-case name is read.
        {{{"ALVO_CONFIG_TEMPLATE", install.config_dir()}, {"alvo_config", install.config_dir()}},
         defaults},
        {install.env(), "Could not find the configuration file radmill.conf at " +
                            install.config_dir() +
                            " try importing radmill.conf file from "
                            "/etc/corvane/alvoacq_templates"},
    };
    for (const auto& c : cases) {
        const RunResult result = run_radmill({"in.pb"}, c.env);
        EXPECT_EQ(result.status, 1);
        EXPECT_EQ(messages_of(result.stderr_text), Lines{c.message});
    }
}

TEST(FrontEnd, RejectedConfigurationNamesTheFileAndTheProblem) {
    const struct {
        std::string config;
        std::string problem;
    } cases[] = {
        {"append_log = true\nappend_log = false\n", " (line 2): duplicate key name"},
        {"append_log = true\njust words\n", " (line 2): '=' character not found in line"},
        {"[site\nappend_log = true\n", " (line 1): unmatched '['"},
        {"log_level = debug\n", ": the required top-level key 'append_log' is missing"},
        {"[site]\nappend_log = true\n", ": the required top-level key 'append_log' is missing"},
        {"", ": the required top-level key 'append_log' is missing"},
    };
    TempInstall install;
    for (const auto& c : cases) {
        install.write_config(c.config);
        const RunResult result = run_radmill({"in.pb"}, install.env());
        EXPECT_EQ(result.status, 1);
        EXPECT_EQ(messages_of(result.stderr_text),
                  Lines{"Invalid configuration file " + install.config_dir() + "radmill.conf" +
                        c.problem});
        EXPECT_FALSE(radmill_test::file_exists(install.log_path()));
    }
}

TEST(FrontEnd, AcceptedCommandLinesReachTheInputFile) {
    const Args cases[] = {
        {"INPUT"},
        {"-i", "INPUT"},
        {"--ip", "INPUT"},
        {"--ip=INPUT"},
        {"--if", "other.pb", "INPUT"},
        {"--frobnicate", "-x", "INPUT"},
        {"-o", "out.tif", "INPUT"},
        {"-t", "palette", "INPUT"},
        {"-t", "rgb", "INPUT"},
        {"-t", "grayscale", "INPUT"},
        {"--color-type=float", "INPUT"},
    };
    TempInstall install;
    install.write_config("append_log = false\n");
    for (const auto& args : cases) {
        SCOPED_TRACE(::testing::PrintToString(args));
        const RunResult result = run_radmill(with_input(install, args), install.env());
        EXPECT_EQ(result.status, 1);
        EXPECT_EQ(result.stderr_text, "");
        EXPECT_EQ(install.log_messages(), (Lines{level_set_info, cannot_open(install)}));
    }
}

TEST(FrontEnd, UnreadableInputIsReportedByItsPath) {
    TempInstall install;
    install.write_config("append_log = false\n");
    // "-" is a file name like any other, and a directory opens but cannot be read.
    for (const std::string& path : {std::string("-"), install.config_dir()}) {
        EXPECT_EQ(run_radmill({path}, install.env()).status, 1);
        EXPECT_EQ(install.log_messages(), (Lines{level_set_info, "Cannot open input file: " + path}));
    }
}

TEST(FrontEnd, LogLevelComesFromCommandLineThenConfigurationThenInfo) {
    const std::string invalid_tail =
        "', using default 'info'. Valid levels: trace, debug, info, warn, error, critical";
    const std::string overridden = "Log level overridden by command line '";
    const std::string open = "OPEN";  // stands for the input file's error line
    const struct {
        std::string config_lines;
        Args args;
        Lines messages;
    } cases[] = {
        {"", {}, {level_set_info, open}},
        {"log_level = debug\n", {}, {"Log level set to 'debug'", open}},
        {"log_level = debug\n", {"-l", "error"}, {overridden + "error'", open}},
        {"", {"--log-level", "trace"}, {overridden + "trace'", "Log level set to 'trace'", open}},
        {"log_level = warn\n", {}, {open}},
        {"log_level = err\n", {}, {open}},
        {"log_level = critical\n", {}, {}},
        {"log_level = off\n", {}, {}},
        {"log_level = debug\n", {"-l", "off"}, {overridden + "off'"}},
        {"log_level = loud\n", {}, {"Invalid log level 'loud" + invalid_tail, open}},
        {"log_level = Debug\n", {}, {"Invalid log level 'Debug" + invalid_tail, open}},
        {"log_level =\n", {}, {"Invalid log level '" + invalid_tail, open}},
        {"", {"-l", "verbose"},
         {overridden + "verbose'", "Invalid log level 'verbose" + invalid_tail, open}},
        {"log_level = off\n", {"-l", "verbose"},
         {overridden + "verbose'", "Invalid log level 'verbose" + invalid_tail, open}},
        {"[logging]\nlog_level = debug\n", {}, {level_set_info, open}},
    };
    TempInstall install;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.config_lines + ::testing::PrintToString(c.args));
        install.write_config("append_log = false\n" + c.config_lines);
        Args args = c.args;
        args.push_back(missing_input(install));
        EXPECT_EQ(run_radmill(args, install.env()).status, 1);
        Lines expected = c.messages;
        for (auto& message : expected) {
            if (message == open) message = cannot_open(install);
        }
        EXPECT_EQ(install.log_messages(), expected);
    }
}

TEST(FrontEnd, LogRecordsCarryTimeNameAndLevel) {
    TempInstall install;
    install.write_config("append_log = false\nlog_level = loud\n");
    run_radmill({missing_input(install)}, install.env());
    const std::regex layout(R"(\[\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{3}\] \[radmill\] \[\w+\] .+)");
    std::istringstream records(install.log_text());
    Lines levels;
    for (std::string record; std::getline(records, record);) {
        EXPECT_TRUE(std::regex_match(record, layout)) << record;
        levels.push_back(record_level(record));
    }
    EXPECT_EQ(levels, (Lines{"warning", "error"}));
}

TEST(FrontEnd, AppendLogTrueAppendsAnythingElseTruncates) {
    const struct {
        std::string value;
        bool appends;
    } cases[] = {{"true", true}, {"yes", false}, {"True", false}, {"false", false}};
    TempInstall install;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        install.write_config("append_log = " + c.value + "\n");
        radmill_test::write_file(install.log_path(), "earlier record\n");
        run_radmill({missing_input(install)}, install.env());
        Lines expected{level_set_info, cannot_open(install)};
        if (c.appends) expected.insert(expected.begin(), "earlier record");
        EXPECT_EQ(install.log_messages(), expected);
    }
}

TEST(FrontEnd, UnopenableLogFileKeepsTheLogOnStandardError) {
    TempInstall install;
    install.write_config(valid_config);
    const std::string log_dir = install.path("absent/");
    auto env = install.env();
    env["ALVO_LOG"] = log_dir;
    const RunResult result = run_radmill({missing_input(install)}, env);
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(messages_of(result.stderr_text),
              (Lines{"Cannot open log file: Failed opening file " + log_dir +
                         "radmill.log for writing: No such file or directory",
                     level_set_info, cannot_open(install)}));
    EXPECT_FALSE(std::filesystem::exists(log_dir));
}

TEST(FrontEnd, DirectoryValuesArePrefixesOfTheFileNames) {
    TempInstall install;
    radmill_test::write_file(install.config_dir() + "site-radmill.conf", valid_config);
    const std::map<std::string, std::string> env = {
        {"ALVO_CONFIG", install.config_dir() + "site-"}, {"ALVO_LOG", install.log_dir() + "run-"}};
    const RunResult result = run_radmill({missing_input(install)}, env);
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(messages_of(radmill_test::read_file(install.log_dir() + "run-radmill.log")),
              (Lines{level_set_info, cannot_open(install)}));
}

TEST(FrontEnd, ExampleConfigurationIsAccepted) {
    TempInstall install;
    install.write_config(
        radmill_test::read_file(std::string(RADMILL_EXAMPLES_DIR) + "/install/radmill.conf"));
    EXPECT_EQ(run_radmill({missing_input(install)}, install.env()).status, 1);
    EXPECT_EQ(install.log_messages(), (Lines{level_set_info, cannot_open(install)}));
}

}  // namespace
