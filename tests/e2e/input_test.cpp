// Reading the input file through the built binary: every framing that radmill-sample writes
// gets as far as the conversion, and every input that is not a raster product is refused with
// its own error line.
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
using Lines = std::vector<std::string>;

const std::string debug_config = "log_level = debug\nappend_log = false\n";
const std::string product_received =
    "Received InstrumentData with Product payload; starting processing!";
const Lines parse_failure{
    "Failed to parse input file.",
    "Please ensure the input file contains valid protobuf data in one of the supported formats"};

struct LoggedRun {
    int status = -1;
    Lines messages;
    Lines levels;
};

// Runs radmill on input in a fresh installation whose configuration is config.
LoggedRun run_on(const TempInstall& install, const std::string& input, const std::string& config) {
    install.write_config(config);
    install.install_example_scales();
    const radmill_test::RunResult result = radmill_test::run_radmill(
        {"-i", input, "-o", install.path("out.tif"), "-t", "float"}, install.env());
    LoggedRun run;
    run.status = result.status;
    std::istringstream lines(install.log_text());
    for (std::string line; std::getline(lines, line);) {
        run.messages.push_back(radmill_test::record_message(line));
        run.levels.push_back(radmill_test::record_level(line));
    }
    return run;
}

bool contains(const Lines& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

// The last lines of the log, which an error ends.
Lines last(const Lines& lines, std::size_t count) {
    return Lines(lines.end() - std::min(count, lines.size()), lines.end());
}

std::string sample_file(const TempInstall& install, const std::vector<std::string>& args) {
    const std::string path = install.path("sample.pb");
    std::vector<std::string> all{"--output", path, "--width", "40", "--height", "30"};
    all.insert(all.end(), args.begin(), args.end());
    const radmill_test::RunResult made = radmill_test::run_program(RADMILL_SAMPLE_BINARY, all);
    EXPECT_EQ(made.status, 0) << made.stderr_text;
    return path;
}

std::string input_file(const TempInstall& install, const std::string& bytes) {
    const std::string path = install.path("input.pb");
    radmill_test::write_file(path, bytes);
    return path;
}

TEST(InputReading, EveryProductFramingReachesTheConversion) {
    const struct {
        const char* framing;
        const char* parsed;
    } cases[] = {
        {"envelope", "Successfully parsed with method 1"},
        {"delimited-envelope", "Successfully parsed with method 2"},
        {"delimited-product", "Successfully parsed Product with method 4 (type=1)"},
        {"product", "Successfully parsed Product with method 5 (type=1)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.framing);
        const TempInstall install;
        const LoggedRun run =
            run_on(install, sample_file(install, {"--framing", c.framing}), debug_config);
        EXPECT_TRUE(contains(run.messages, c.parsed));
        EXPECT_TRUE(contains(run.messages, product_received));
        EXPECT_FALSE(contains(run.messages, parse_failure[0]));
    }
}

TEST(InputReading, AVolumeIsReadThenRefused) {
    const TempInstall install;
    const LoggedRun run =
        run_on(install, sample_file(install, {"--framing", "delimited-volume"}), debug_config);
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(contains(run.messages, "Successfully parsed Volume with method 3"));
    EXPECT_EQ(last(run.messages, 1), Lines{"Received InstrumentData with unsupported payload!"});
    EXPECT_EQ(last(run.levels, 1), Lines{"error"});
}

pb::Product product_with_data(int data_case) {
    pb::Product product;
    product.set_name("not a raster");
    switch (data_case) {
        case pb::Product::kImage:
            product.mutable_image()->set_image("png");
            break;
        case pb::Product::kVectors:
            product.mutable_vectors()->add_points()->set_x(1);
            break;
        case pb::Product::kEvents:
            product.mutable_events()->add_descriptions("hail");
            break;
        case pb::Product::kRain:
            product.mutable_rain()->add_accumulations(2.5);
            break;
        case pb::Product::kTable:
            product.mutable_table()->add_rows("row");
            break;
        default:
            break;
    }
    return product;
}

std::string not_raster(const std::string& name) {
    return "Product contains '" + name +
           "' data, but only raster products are supported for GeoTIFF conversion!";
}

TEST(InputReading, InputsThatAreNotRasterProductsAreRefused) {
    pb::InstrumentData volume_envelope;
    volume_envelope.mutable_volume()->mutable_instrument()->set_name("Hilltop");
    pb::InstrumentData status_envelope;
    status_envelope.mutable_status()->set_text("all well");

    const struct {
        const char* name;
        std::string bytes;
        Lines error_lines;
        bool product_received;
    } cases[] = {
        {"empty file", "", parse_failure, false},
        {"garbage", std::string("\xff\xfe\x00\x01not protobuf", 16), parse_failure, false},
        {"envelope with a volume",
         volume_envelope.SerializeAsString(),
         {"Received InstrumentData with unsupported payload!"},
         false},
        {"envelope with another payload",
         status_envelope.SerializeAsString(),
         {"Received InstrumentData with unsupported payload!"},
         false},
        {"product without data",
         radmill_test::envelope_bytes(product_with_data(0)),
         {not_raster("NOT SET")},
         true},
        {"vectors",
         radmill_test::envelope_bytes(product_with_data(pb::Product::kVectors)),
         {not_raster("VECTORS")},
         true},
        {"events",
         radmill_test::envelope_bytes(product_with_data(pb::Product::kEvents)),
         {not_raster("EVENTS")},
         true},
        {"rain",
         radmill_test::envelope_bytes(product_with_data(pb::Product::kRain)),
         {not_raster("RAIN")},
         true},
        {"data case 5",
         radmill_test::envelope_bytes(product_with_data(pb::Product::kImage)),
         {not_raster("UNKNOWN")},
         true},
        {"data case 11",
         radmill_test::envelope_bytes(product_with_data(pb::Product::kTable)),
         {not_raster("UNKNOWN")},
         true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const TempInstall install;
        const LoggedRun run = run_on(install, input_file(install, c.bytes), debug_config);
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(last(run.messages, c.error_lines.size()), c.error_lines);
        EXPECT_EQ(last(run.levels, c.error_lines.size()), Lines(c.error_lines.size(), "error"));
        EXPECT_EQ(contains(run.messages, product_received), c.product_received);
    }
}

TEST(InputReading, AnInputThatCannotBeOpenedIsRefused) {
    const TempInstall install;
    const std::string path = install.path("missing.pb");
    const LoggedRun run = run_on(install, path, debug_config);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(last(run.messages, 1), Lines{"Cannot open input file: " + path});
    EXPECT_EQ(last(run.levels, 1), Lines{"error"});
}

TEST(InputReading, SingleBandSwitchIsReadForARasterProduct) {
    const std::string enabled = "Single-band mode enabled: outputting real scientific values";
    const struct {
        const char* setting;
        bool on;
    } cases[] = {{"single_band = enabled\n", true}, {"single_band = true\n", true},
                 {"single_band = 1\n", true},       {"single_band = yes\n", false},
                 {"single_band = 0\n", false},      {"", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.setting);
        const TempInstall install;
        const LoggedRun run = run_on(install, sample_file(install, {}), debug_config + c.setting);
        EXPECT_TRUE(contains(run.messages, product_received));
        EXPECT_EQ(contains(run.messages, enabled), c.on);
    }
}

}  // namespace
