#include <unistd.h>

#include <filesystem>

#include "conversion_support.h"

namespace {

using namespace radmill_test;

pb::Product bytes_product(std::uint32_t width, std::uint32_t height) {
    return raster_product(width, height, pb::UINT8, std::string(width * height, '\x07'));
}

// Runs radmill in conversion's installation with files limited to limit_bytes (a multiple of
// 512), as a full disk would stop them: writes beyond the limit fail with EFBIG.
void run_with_file_limit(Conversion& conversion, const pb::Product& product,
                         std::size_t limit_bytes) {
    conversion.output = conversion.path("out.tif");
    write_product(conversion.path("product.pb"), product);
    const RunResult result = run_program(
        "/bin/sh",
        {"-c", "trap '' XFSZ; ulimit -f " + std::to_string(limit_bytes / 512) + "; exec \"$@\"",
         "radmill", RADMILL_BINARY, "-i", conversion.path("product.pb"), "-o", conversion.output},
        conversion.env());
    conversion.status = result.status;
    conversion.stderr_text = result.stderr_text;
    conversion.log = conversion.log_messages();
}

TEST(FileSystemFailure, UnopenableOutputIsOneErrorLine) {
    for (const char* name : {"missing-dir/out.tif", "plain-file/out.tif", ""}) {
        SCOPED_TRACE(name);
        Conversion conversion;
        write_file(conversion.path("plain-file"), "");
        const std::string output = conversion.path(name);  // "": the installation's directory
        conversion.run(bytes_product(2, 2), {}, output);
        EXPECT_EQ(conversion.status, 1);
        EXPECT_EQ(conversion.errors(),
                  std::vector<std::string>{"Failed to open output file for GeoTIFF: " + output});
        // libtiff's own explanation goes to the log; standard error has the error record only.
        EXPECT_EQ(conversion.stderr_text, error_records(conversion.log_text()));
    }
}

// Permissions don't bind root, who runs the suite in CI.
TEST(FileSystemFailure, OutputInAReadOnlyDirectoryIsRefused) {
    if (geteuid() == 0) GTEST_SKIP() << "root writes into read-only directories";
    Conversion conversion;
    const std::string directory = conversion.path("read-only");
    std::filesystem::create_directory(directory);
    std::filesystem::permissions(
        directory, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    conversion.run(bytes_product(2, 2), {}, directory + "/out.tif");
    EXPECT_EQ(conversion.status, 1);
    EXPECT_EQ(conversion.errors(), std::vector<std::string>{"Failed to open output file for "
                                                            "GeoTIFF: " +
                                                            directory + "/out.tif"});
}

// A disk that fills up during the strips or at the last directory must not leave a file
// that the run calls complete.
TEST(FileSystemFailure, FullDiskEndsWithOneErrorLine) {
    const struct {
        const char* name;
        pb::Product product;
        std::size_t limit_bytes;
        std::string error;
    } cases[] = {
        // 300 rows of 100 bytes per strip: the header and strip 0 fit, strip 1 doesn't.
        {"second strip", bytes_product(100, 1000), 51200, "Failed to write TIFF strip 1"},
        // Header and the one strip take 4008 bytes; the directory written at close doesn't fit.
        {"last directory", bytes_product(100, 40), 4096,
         "Failed to write TIFF directory for band 1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Conversion conversion;
        run_with_file_limit(conversion, c.product, c.limit_bytes);
        EXPECT_EQ(conversion.status, 1);
        EXPECT_EQ(conversion.errors(), std::vector<std::string>{c.error});
        EXPECT_FALSE(conversion.logged("GeoTIFF conversion completed: " + conversion.output +
                                       " (1 band(s))"));
        EXPECT_EQ(conversion.stderr_text, error_records(conversion.log_text()));
    }
}

TEST(FileSystemFailure, FullDiskAtABandDirectoryNamesTheBand) {
    pb::Product product =
        raster_product(100, 40, pb::FLOAT64, raw_bytes(std::vector<double>(4000)));
    *product.mutable_raster_data_list()->add_raster_data() = first_band(product);
    Conversion conversion(single_band_config);
    // Band 1's 32000 bytes fit, its directory of some 2 KB with the metadata doesn't.
    run_with_file_limit(conversion, product, 32768);
    EXPECT_EQ(conversion.status, 1);
    EXPECT_EQ(conversion.errors(),
              std::vector<std::string>{"Failed to write TIFF directory for band 1"});
}

// The logging library reports an unopenable log file on standard error and the run goes on.
TEST(FileSystemFailure, MissingLogDirectoryKeepsTheRecordsOnStandardError) {
    Conversion conversion;
    const std::string log_dir = conversion.path("absent/");
    auto env = conversion.env();
    env["ALVO_LOG"] = log_dir;
    write_product(conversion.path("product.pb"), bytes_product(2, 2));
    const std::string output = conversion.path("out.tif");
    const RunResult result = run_radmill({"-i", conversion.path("product.pb"), "-o", output}, env);
    EXPECT_EQ(result.status, 0);
    EXPECT_NE(result.stderr_text.find("Cannot open log file: Failed opening file " + log_dir +
                                      "radmill.log for writing"),
              std::string::npos);
    EXPECT_NE(result.stderr_text.find("GeoTIFF conversion completed: " + output),
              std::string::npos);
    GdalFile file(output);
    EXPECT_EQ(file.values(), std::vector<double>(4, 7));
}

}  // namespace
