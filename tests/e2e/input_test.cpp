// Reading the input file through the built binary, up to the hand-over to the conversion.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "product_files.h"
#include "radmill_run.h"

namespace {

namespace pb = qrd::pb::common;
using radmill_test::TempInstall;
using Args = std::vector<std::string>;
using Lines = std::vector<std::string>;

const std::string received =
    "[debug] Received InstrumentData with Product payload; starting processing!";

// Runs radmill on input, at debug level and with config added to the configuration, expects
// the exit status and answers the log's records as "[level] message".
Lines run_on(const std::string& input, const std::string& config, int status) {
    const TempInstall install;
    install.write_config("log_level = debug\nappend_log = false\n" + config);
    install.install_example_scales();
    radmill_test::write_file(install.path("input.pb"), input);
    const Args args{"-i", install.path("input.pb"), "-o", install.path("out.tif"), "-t", "float"};
    EXPECT_EQ(radmill_test::run_radmill(args, install.env()).status, status);
    Lines records;
    std::istringstream lines(install.log_text());
    for (std::string line; std::getline(lines, line);) {
        records.push_back("[" + radmill_test::record_level(line) + "] " +
                          radmill_test::record_message(line));
    }
    return records;
}

bool contains(const Lines& lines, const Lines& run_of_lines) {
    return std::search(lines.begin(), lines.end(), run_of_lines.begin(), run_of_lines.end()) !=
           lines.end();
}

std::string sample_bytes(const std::string& framing) {
    const TempInstall scratch;
    const radmill_test::RunResult made = radmill_test::run_program(
        RADMILL_SAMPLE_BINARY,
        {"-o", scratch.path("sample.pb"), "--width", "40", "--height", "30", "--framing", framing});
    EXPECT_EQ(made.status, 0) << made.stderr_text;
    return radmill_test::read_file(scratch.path("sample.pb"));
}

// Each framing, and the single-band switch that is read once a raster product is accepted.
TEST(InputReading, RasterProductsReachTheConversion) {
    const std::string envelope = sample_bytes("envelope");
    const std::string single_band =
        "[info] Single-band mode enabled: outputting real scientific values";
    const struct {
        std::string input;
        const char* config;
        std::string parsed;  // follows "Successfully parsed "
        bool single_band;
    } cases[] = {
        {envelope, "", "with method 1", false},
        {sample_bytes("delimited-envelope"), "", "with method 2", false},
        {sample_bytes("delimited-product"), "", "Product with method 4 (type=1)", false},
        {sample_bytes("product"), "", "Product with method 5 (type=1)", false},
        {envelope, "single_band = enabled\n", "with method 1", true},
        {envelope, "single_band = true\n", "with method 1", true},
        {envelope, "single_band = 1\n", "with method 1", true},
        {envelope, "single_band = yes\n", "with method 1", false},
        {envelope, "single_band = 0\n", "with method 1", false},
        {envelope, "[single_band]\nenabled = true\n", "with method 1", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.parsed + ", " + c.config);
        const Lines records = run_on(c.input, c.config, 0);
        Lines logged{"[debug] Successfully parsed " + c.parsed, received};
        if (c.single_band) logged.push_back(single_band);
        EXPECT_TRUE(contains(records, logged));  // one after the other
        EXPECT_EQ(contains(records, {single_band}), c.single_band);
    }
}

TEST(InputReading, InputsThatAreNotRasterProductsAreRefused) {
    pb::InstrumentData status_envelope;
    status_envelope.mutable_status()->set_text("all well");
    const std::string unsupported = "[error] Received InstrumentData with unsupported payload!";
    // Each input, and the lines that end its log.
    std::vector<std::pair<std::string, Lines>> cases{
        {"",
         {"[debug] Trying method 5: Raw Product parsing", "[error] Failed to parse input file.",
          "[error] Please ensure the input file contains valid protobuf data in one of the "
          "supported formats"}},
        {sample_bytes("delimited-volume"),
         {"[debug] Successfully parsed Volume with method 3", unsupported}},
        {status_envelope.SerializeAsString(),
         {"[debug] Successfully parsed with method 1", unsupported}},
    };
    // Products whose data is not a raster data list, by the number of the data member set.
    const std::pair<int, const char*> data_cases[] = {{0, "NOT SET"}, {8, "VECTORS"},
                                                      {9, "EVENTS"},  {10, "RAIN"},
                                                      {5, "UNKNOWN"}, {11, "UNKNOWN"}};
    for (const auto& [field, name] : data_cases) {
        pb::Product product;
        if (field != 0) {
            product.GetReflection()->MutableMessage(
                &product, product.GetDescriptor()->FindFieldByNumber(field));
        }
        cases.push_back({radmill_test::envelope_bytes(product),
                         {received, "[error] Product contains '" + std::string(name) +
                                        "' data, but only raster products are supported for "
                                        "GeoTIFF conversion!"}});
    }
    for (const auto& [input, tail] : cases) {
        SCOPED_TRACE(tail.back());
        const Lines records = run_on(input, "", 1);
        ASSERT_GE(records.size(), tail.size());
        EXPECT_EQ(Lines(records.end() - tail.size(), records.end()), tail);
    }
}

}  // namespace
