// The program as its callers see it, up to the hand-over to the conversion: command line,
// environment, configuration, log and the input's payload. Each case is data: arguments,
// configuration and input, then the exit status, standard error and log that must follow.
// "{dir}" stands for the scratch installation's directory.
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>

#include "radar.pb.h"
#include "radmill_run.h"

namespace {

namespace pb = qrd::pb::common;
using namespace radmill_test;
using Lines = std::vector<std::string>;
using Env = std::map<std::string, std::string>;

const Lines help = {
    "Options:",
    "  -h [ --help ]                        produce help message",
    "  -v [ --version ]                     show version information",
    "  -l [ --log-level ] arg               Log level (trace, debug, info, warn, ",
    "                                       error, critical)",
    "  --if arg (=-)                        Filename for protobuf binary file",
    "  -i [ --ip ] arg                      Full path to protobuf binary file ",
    "                                       (mandatory)",
    "  -o [ --op ] arg (=-)                 geoTIFF output file, default \"-\": stdout",
    "  -t [ --color-type ] arg (=grayscale) Color type for output GeoTIFF (palette, ",
    "                                       rgb, grayscale, float)",
};
const Lines no_log = {"(no log file)"};
const Env own = {{"ALVO_CONFIG", "{dir}/config/"}, {"ALVO_LOG", "{dir}/log/"}};
const char* const plain = "append_log = false\n";
const char* const debug_level = "append_log = false\nlog_level = debug\n";

const std::string in = "{dir}/in.pb";
const std::string cannot_open = "[error] Cannot open input file: {dir}/in.pb";
const std::string second_input = "only one input path may be given, but got 'a.pb', 'b.pb'";
const std::string bad_type = "[error] Invalid color type specified: ";
const std::string valid_types = ". Valid options are: palette, rgb, grayscale, float.";
const std::string not_found = "[error] Could not find the configuration file radmill.conf at ";
const std::string templates =
    " try importing radmill.conf file from /etc/corvane/alvoacq_templates";
const std::string invalid_config = "[error] Invalid configuration file {dir}/config/radmill.conf";
const std::string set_to = "[info] Log level set to '";
const std::string set_info = set_to + "info'";
const std::string overridden = "[info] Log level overridden by command line '";
const std::string invalid_level = "[warning] Invalid log level '";
const std::string level_tail =
    "', using default 'info'. Valid levels: trace, debug, info, warn, error, critical";
const std::string earlier = "[2024-06-01 10:00:00.000] [radmill] [info] earlier\n";
const std::string ignoring = "[warning] Ignoring unrecognised option: ";
const std::string unsupported = "[error] Received InstrumentData with unsupported payload!";
const std::string single_band =
    "[info] Single-band mode enabled: outputting real scientific values";
// What the conversion says first about a product with an empty raster data list.
const std::string empty_list = "[error] Raster data list is empty";

Lines then(Lines first, const Lines& rest) {
    first.insert(first.end(), rest.begin(), rest.end());
    return first;
}

std::string refused(const std::string& name) {
    return "[error] Product contains '" + name +
           "' data, but only raster products are supported for GeoTIFF conversion!";
}

// An envelope whose payload holds the empty message of field number payload: 1 a volume,
// 3 a product, 15 a status report; for a product, data sets the member of that field number.
std::string envelope_holding(int payload, int data = 0) {
    pb::InstrumentData envelope;
    google::protobuf::Message* member = envelope.GetReflection()->MutableMessage(
        &envelope, envelope.GetDescriptor()->FindFieldByNumber(payload));
    if (data != 0) {
        member->GetReflection()->MutableMessage(member,
                                                member->GetDescriptor()->FindFieldByNumber(data));
    }
    return envelope.SerializeAsString();
}

// A product with an empty raster data list.
const std::string raster = envelope_holding(3, 7);

struct CommandLineCase {
    Lines args;
    int status;
    Lines stderr_lines;                               // records as "[level] message"
    Lines log;                                        // of the file ALVO_LOG + "radmill.log"
    const char* config = plain;                       // null: no radmill.conf
    std::optional<std::string> input = std::nullopt;  // the bytes of {dir}/in.pb, if any
    std::string earlier_log = "";
    Env env = own;
};

// clang-format off
const CommandLineCase cases[] = {
    // Help, version and command-line errors: standard error only.
    {{"-h"}, 0, help, no_log},
    {{"-v"}, 0, {"v10.5.2"}, no_log},
    {{"-v", "-h"}, 0, {"v10.5.2"}, no_log},
    {{}, 1, then({"the option '--ip' is required but missing"}, help), no_log},
    {{"-i"}, 1, {"the required argument for option '--ip' is missing"}, no_log},
    {{"-i", "a.pb", "-i", "b.pb"}, 1, {second_input}, no_log},
    {{"a.pb", "b.pb"}, 1, {second_input}, no_log},
    {{"a.pb", "-o", "x", "-o", "y"}, 1, {"option '--op' cannot be specified more than once"},
     no_log},
    // A wrong colour type is reported before the configuration is looked for; both stop the
    // run before the log file is set up.
    {{"-t", "Palette", in}, 1, {bad_type + "Palette" + valid_types}, no_log, nullptr},
    {{"-t", "", in}, 1, {bad_type + valid_types}, no_log, nullptr},
    {{in}, 1, {not_found + "{dir}/config/" + templates}, no_log, nullptr},
    {{in}, 1, {invalid_config + " (line 2): duplicate key name"}, no_log,
     "append_log = 1\nappend_log = 2\n"},
    {{in}, 1, {invalid_config + ": the required top-level key 'append_log' is missing"}, no_log,
     "[site]\nappend_log = true\n"},
    // Output options: a value a key doesn't take stops the run before the input is read.
    {{in}, 1, {invalid_config + ": georeference = 'utm'; valid values: wgs84, native"}, no_log,
     "append_log = false\ngeoreference = utm\n"},
    {{in}, 1, {invalid_config + ": compress = 'gzip'; valid values: none, deflate, lzw, zstd"},
     no_log, "append_log = false\ncompress = gzip\n"},
    {{in}, 1, {invalid_config + ": predictor = '0'; valid values: 1, 2, 3"}, no_log,
     "append_log = false\npredictor = 0\n"},
    {{in}, 1, {invalid_config + ": compress_level = '13'; valid values: 1 to 12 with compress = "
               "deflate"}, no_log, "append_log = false\ncompress = deflate\ncompress_level = 13\n"},
    {{in}, 1, {invalid_config + ": compress_level = '9'; valid values: 1 to 12 with compress = "
               "deflate; 1 to 22 with compress = zstd"}, no_log,
     "append_log = false\ncompress = lzw\ncompress_level = 9\n"},
    {{in}, 1, {invalid_config + ": layout = 'COG'; valid values: strips, cog"}, no_log,
     "append_log = false\nlayout = COG\n"},
    // An unknown top-level key is named; sections are not looked into.
    {{in}, 1, {}, {set_info, "[warning] Ignoring unknown configuration key: compres", cannot_open},
     "append_log = false\ncompres = zstd\n[layout]\nlayout = tiles\n"},
    // Neither a template variable nor a lower-case name is read.
    {{in}, 1, {not_found + "/etc/corvane/alvoacq" + templates}, no_log, plain, std::nullopt, "",
     {{"ALVO_CONFIG_TEMPLATE", "{dir}/config/"}, {"alvo_config", "{dir}/config/"}}},
    // Directory values are prefixes of the file names; unknown options (each named in a warn
    // record) and "--if" are ignored.
    {{"--frobnicate", "-x", "--if", "other.pb", "-i", in}, 1, {},
     {set_info, ignoring + "--frobnicate", ignoring + "-x", cannot_open}, plain,
     std::nullopt, "", {{"ALVO_CONFIG", "{dir}/config/site-"}, {"ALVO_LOG", "{dir}/log/run-"}}},
    // The logging library reports an unopenable log file, and the records go to standard error.
    {{in}, 1, {"[error] Cannot open log file: Failed opening file {dir}/absent/radmill.log for "
               "writing: No such file or directory", set_info, cannot_open}, no_log, plain,
     std::nullopt, "", {{"ALVO_CONFIG", "{dir}/config/"}, {"ALVO_LOG", "{dir}/absent/"}}},
    // "-" is a file name like any other: standard input is never read.
    {{"-"}, 1, {}, {set_info, "[error] Cannot open input file: -"}},
    // The log level comes from the command line, then the configuration, then "info".
    {{in}, 1, {}, {set_to + "debug'", cannot_open}, debug_level},
    {{"-l", "error", in}, 1, {}, {overridden + "error'", cannot_open}, debug_level},
    {{"--log-level", "trace", in}, 1, {}, {overridden + "trace'", set_to + "trace'", cannot_open}},
    {{in}, 1, {}, {cannot_open}, "append_log = false\nlog_level = err\n"},
    {{in}, 1, {}, {}, "append_log = false\nlog_level = off\n"},
    {{"-l", "off", in}, 1, {}, {overridden + "off'"}, debug_level},
    {{in}, 1, {}, {invalid_level + "loud" + level_tail, cannot_open},
     "append_log = false\nlog_level = loud\n"},
    {{"-l", "verbose", in}, 1, {},
     {overridden + "verbose'", invalid_level + "verbose" + level_tail, cannot_open}},
    {{in}, 1, {}, {set_info, cannot_open}, "append_log = false\n[logging]\nlog_level = debug\n"},
    // append_log = true appends, anything else starts the log afresh.
    {{in}, 1, {}, {"[info] earlier", set_info, cannot_open}, "append_log = true\n", std::nullopt,
     earlier},
    {{in}, 1, {}, {set_info, cannot_open}, "append_log = yes\n", std::nullopt, earlier},
    {{in}, 1, {}, {set_info, cannot_open}, "append_log = True\n", std::nullopt, earlier},
    // Inputs that are not raster products.
    {{in}, 1, {}, {set_info, "[error] Failed to parse input file.", "[error] Please ensure the "
                   "input file contains valid protobuf data in one of the supported formats"},
     plain, ""},
    {{in}, 1, {}, {set_info, unsupported}, plain, envelope_holding(1)},
    {{in}, 1, {}, {set_info, unsupported}, plain, envelope_holding(15)},
    {{in}, 1, {}, {set_info, refused("NOT SET")}, plain, envelope_holding(3)},
    {{in}, 1, {}, {set_info, refused("VECTORS")}, plain, envelope_holding(3, 8)},
    {{in}, 1, {}, {set_info, refused("EVENTS")}, plain, envelope_holding(3, 9)},
    {{in}, 1, {}, {set_info, refused("RAIN")}, plain, envelope_holding(3, 10)},
    {{in}, 1, {}, {set_info, refused("UNKNOWN")}, plain, envelope_holding(3, 5)},
    {{in}, 1, {}, {set_info, refused("UNKNOWN")}, plain, envelope_holding(3, 11)},
    // A raster product reaches the conversion; single_band is read only then.
    {{in}, 1, {}, {set_to + "debug'", "[debug] Trying method 1: Raw InstrumentData parsing",
                   "[debug] Successfully parsed with method 1", "[debug] Received InstrumentData "
                   "with Product payload; starting processing!", single_band, empty_list},
     "append_log = false\nlog_level = debug\nsingle_band = enabled\n", raster},
    {{in}, 1, {}, {set_info, single_band, empty_list}, "append_log=true\nsingle_band=true", raster},
    {{in}, 1, {}, {set_info, single_band, empty_list}, "append_log=false\nsingle_band=1", raster},
    {{in}, 1, {}, {set_info, empty_list}, "append_log = false\nsingle_band = yes\n", raster},
    {{in}, 1, {}, {set_info, empty_list}, "append_log = false\nsingle_band = 0\n", raster},
    {{in}, 1, {}, {set_info, empty_list}, "append_log=false\n[single_band]\nenabled=true", raster},
};
// clang-format on

TEST(CommandLine, EveryCaseEndsWithItsStatusStandardErrorAndLog) {
    unsetenv("ALVO_CONFIG");  // not inherited from the test's own environment
    for (const CommandLineCase& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.args) + " " + (c.config ? c.config : "no config"));
        const TempInstall install;
        const auto fill = [&](Lines lines) {
            for (std::string& line : lines) {
                for (std::size_t at; (at = line.find("{dir}")) != std::string::npos;) {
                    line.replace(at, 5, install.root());
                }
            }
            return lines;
        };
        Env env;
        for (const auto& [name, value] : c.env) env[name] = fill({value})[0];
        const std::string log_path = env.count("ALVO_LOG") ? env["ALVO_LOG"] + "radmill.log" : "";
        const std::string config_dir =
            env.count("ALVO_CONFIG") ? env["ALVO_CONFIG"] : install.config_dir();
        if (c.config != nullptr) write_file(config_dir + "radmill.conf", c.config);
        if (c.input) write_file(install.path("in.pb"), *c.input);
        if (!c.earlier_log.empty()) write_file(log_path, c.earlier_log);

        const RunResult result = run_radmill(fill(c.args), env);
        EXPECT_EQ(result.status, c.status);
        // Once the log file is open, its error records also go to standard error.
        Lines shown = fill(c.stderr_lines);
        for (const std::string& record : fill(c.log)) {
            if (record.rfind("[error] ", 0) == 0) shown.push_back(record);
        }
        EXPECT_EQ(log_records(result.stderr_text), shown);
        EXPECT_TRUE(result.stderr_text.empty() || result.stderr_text.back() == '\n');
        EXPECT_EQ(file_exists(log_path) ? log_records(read_file(log_path)) : no_log, fill(c.log));
    }
}

}  // namespace
