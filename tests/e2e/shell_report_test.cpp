// What a person at the shell sees once the log file is open: the error records, exactly as the
// log holds them, and nothing else.
#include "conversion_support.h"

namespace {

using namespace radmill_test;

pb::Product bytes_product() { return raster_product(2, 2, pb::UINT8, std::string(4, '\x07')); }

// Each run's log, at debug level, holds more than its error records.
TEST(ShellReport, ErrorRecordsAlsoGoToStandardError) {
    Conversion install;
    const std::string input = install.path("input.pb");
    const std::string unopenable = install.path("missing-dir/out.tif");
    write_product(input, bytes_product());
    const std::string product_bytes = read_file(input);
    const struct {
        std::string input_bytes;
        std::string output;
        std::vector<std::string> errors;
    } cases[] = {
        {"\xff\xff\xff",
         install.path("out.tif"),
         {"Failed to parse input file.",
          "Please ensure the input file contains valid protobuf data in one of the supported "
          "formats"}},
        {product_bytes, unopenable, {"Failed to open output file for GeoTIFF: " + unopenable}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.errors.front());
        std::remove(install.log_path().c_str());
        write_file(input, c.input_bytes);
        const RunResult result = run_radmill({"-i", input, "-o", c.output}, install.env());
        EXPECT_EQ(result.status, 1);
        install.records = install.log();
        EXPECT_EQ(install.errors(), c.errors);
        EXPECT_EQ(result.stderr_text, error_records(read_file(install.log_path())));
    }
}

}  // namespace
