#include <sys/stat.h>

#include "conversion_support.h"

namespace {

using namespace radmill_test;

pb::Product bytes_product(std::uint32_t width, std::uint32_t height) {
    return raster_product(width, height, pb::UINT8, std::string(width * height, '\x07'));
}

TEST(FileSystemFailure, UnopenableOutputIsOneErrorLine) {
    const struct {
        const char* name;  // "": the installation's directory
        const char* config = debug_config;
    } cases[] = {
        {"missing-dir/out.tif"},
        {"plain-file/out.tif"},
        {""},
        // GDAL would open the FIFO by name and wait for a reader.
        {"fifo", "append_log = true\nlayout = cog\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Conversion conversion(c.config);
        write_file(conversion.path("plain-file"), "");
        ASSERT_EQ(mkfifo(conversion.path("fifo").c_str(), 0600), 0);
        const std::string output = conversion.path(c.name);
        conversion.run(bytes_product(2, 2), {}, output);
        EXPECT_EQ(conversion.status, 1);
        EXPECT_EQ(conversion.errors(),
                  std::vector<std::string>{"Failed to open output file for GeoTIFF: " + output});
        // libtiff's own explanation goes to the log; standard error has the error record only.
        EXPECT_EQ(conversion.stderr_text, error_records(read_file(conversion.log_path())));
    }
}

// A disk that fills up during the strips or at a directory must not leave a file that the run
// calls complete. Files are limited as a full disk would stop them: writes beyond the limit (a
// multiple of 512 bytes) fail with EFBIG, as the program ignores the signal that would end it.
TEST(FileSystemFailure, FullDiskEndsWithOneErrorLine) {
    pb::Product two_bands = raster_product(100, 40, pb::FLOAT64, std::string(32000, '\0'));
    *two_bands.mutable_raster_data_list()->add_raster_data() = first_band(two_bands);
    const struct {
        const char* name;
        pb::Product product;
        std::size_t limit_bytes;
        std::string error;
        const char* config = debug_config;
    } cases[] = {
        // 300 rows of 100 bytes per strip: the header and strip 0 fit, strip 1 doesn't.
        {"second strip", bytes_product(100, 1000), 51200, "Failed to write TIFF strip 1"},
        // Header and the one strip take 4008 bytes; the directory written at close doesn't fit.
        {"last directory", bytes_product(100, 40), 4096,
         "Failed to write TIFF directory for band 1"},
        // Band 1's 32000 bytes fit, its directory of some 2 KB with the metadata doesn't.
        {"band directory", two_bands, 32768, "Failed to write TIFF directory for band 1",
         single_band_config},
        // The scratch strips (some 100 KB) fit; the COG with its overview doesn't.
        {"cloud-optimized", bytes_product(100, 1000), 110080,
         "Failed to write Cloud-Optimized GeoTIFF: {output}", "append_log = true\nlayout = cog\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Conversion conversion(c.config);
        write_product(conversion.path("product.pb"), c.product);
        const std::string output = conversion.path("out.tif");
        const RunResult result = run_program(
            "/bin/sh",
            {"-c", "ulimit -f " + std::to_string(c.limit_bytes / 512) + "; exec \"$@\"", "radmill",
             RADMILL_BINARY, "-i", conversion.path("product.pb"), "-o", output},
            conversion.env());
        EXPECT_EQ(result.status, 1);
        EXPECT_EQ(result.stderr_text, error_records(read_file(conversion.log_path())));
        conversion.records = conversion.log();
        std::string error = c.error;
        if (error.find("{output}") != std::string::npos)
            error.replace(error.find("{output}"), 8, output);
        EXPECT_EQ(conversion.errors(), std::vector<std::string>{error});
        EXPECT_EQ(directory_entries(conversion.root()),
                  (std::vector<std::string>{"config", "log", "product.pb"}));
        EXPECT_FALSE(
            conversion.logged("[info] GeoTIFF conversion completed: " + output + " (1 band(s))"));
    }
}

}  // namespace
