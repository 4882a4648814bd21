// What a person at the shell sees once the log file is open: the error records, exactly as the
// log holds them, and nothing else; and unknown options named in the log.
#include <optional>

#include "conversion_support.h"

namespace {

using namespace radmill_test;

pb::Product bytes_product() { return raster_product(2, 2, pb::UINT8, std::string(4, '\x07')); }

// Each run's log, at debug level, holds more than its error records.
TEST(ShellReport, ErrorRecordsAlsoGoToStandardError) {
    Conversion install;
    const std::string input = install.path("input.pb");
    const std::string unopenable = install.path("missing-dir/out.tif");
    const struct {
        std::optional<std::string> input_bytes;  // none: no input file
        std::string output;
        std::vector<std::string> errors;
    } cases[] = {
        {std::nullopt, install.path("out.tif"), {"Cannot open input file: " + input}},
        {"\xff\xff\xff",
         install.path("out.tif"),
         {"Failed to parse input file.",
          "Please ensure the input file contains valid protobuf data in one of the supported "
          "formats"}},
        {envelope_bytes(bytes_product()),
         unopenable,
         {"Failed to open output file for GeoTIFF: " + unopenable}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.errors.front());
        std::remove(install.log_path().c_str());
        std::remove(input.c_str());
        if (c.input_bytes) write_file(input, *c.input_bytes);
        const RunResult result = run_radmill({"-i", input, "-o", c.output}, install.env());
        EXPECT_EQ(result.status, 1);
        EXPECT_EQ(install.errors(), c.errors);
        EXPECT_EQ(result.stderr_text, error_records(install.log_text()));
    }
}

TEST(ShellReport, SuccessfulRunPrintsNothing) {
    for (const std::string config : {"append_log = true\n", debug_config}) {
        SCOPED_TRACE(config);
        const Conversion conversion(bytes_product(), {"-t", "palette"}, config);
        EXPECT_EQ(conversion.status, 0);
        EXPECT_EQ(conversion.stderr_text, "");
    }
}

TEST(ShellReport, UnrecognisedOptionsAreWarnedInTheLog) {
    const std::vector<std::string> options = {"--colour-type=palette", "--compress=DEFLATE", "-x"};
    const struct {
        std::string config;
        std::vector<std::string> warnings;
    } cases[] = {
        {"append_log = false\n",
         {"Ignoring unrecognised option: --colour-type=palette",
          "Ignoring unrecognised option: --compress=DEFLATE", "Ignoring unrecognised option: -x"}},
        {"append_log = false\nlog_level = error\n", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.config);
        const Conversion conversion(bytes_product(), options, c.config);
        EXPECT_EQ(conversion.status, 0);
        std::vector<std::string> warnings;
        std::istringstream lines(conversion.log_text());
        for (std::string line; std::getline(lines, line);) {
            const std::string message = record_message(line);
            if (record_level(line) == "warning" && message.rfind("Ignoring", 0) == 0) {
                warnings.push_back(message);
            }
        }
        EXPECT_EQ(warnings, c.warnings);
    }
}

}  // namespace
