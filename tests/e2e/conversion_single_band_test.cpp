#include <cmath>

#include "conversion_support.h"

namespace {

using namespace radmill_test;

// Three 3x1 UINT8 bands named A, B and C with codes k, k + 1, 255 (not scanned).
pb::Product three_band_product() {
    pb::Product product = one_band_product(3, 1, pb::UINT8, raw_bytes<std::uint8_t>({0, 1, 255}));
    pb::RasterData prototype = first_band(product);
    product.mutable_raster_data_list()->clear_raster_data();
    for (std::uint8_t k = 0; k < 3; ++k) {
        pb::RasterData& band = *product.mutable_raster_data_list()->add_raster_data();
        band = prototype;
        band.mutable_data_buffers(0)->set_data(
            raw_bytes<std::uint8_t>({k, static_cast<std::uint8_t>(k + 1), 255}));
        band.mutable_data_descriptor()->set_name(std::string(1, static_cast<char>('A' + k)));
        set_linear_scale(band, 0.5, -32, 255);
    }
    return product;
}

void expect_physical_values(const GdalFile& file, double first, double second) {
    const std::vector<double> pixels = file.pixels<double>(GDT_Float64);
    ASSERT_EQ(pixels.size(), 3u);
    EXPECT_EQ(pixels[0], first);
    EXPECT_EQ(pixels[1], second);
    EXPECT_TRUE(std::isnan(pixels[2]));
}

TEST(ConversionSingleBand, WritesPhysicalFloat64ValuesOneDirectoryPerBand) {
    ConversionInstall install(single_band_config);
    const Conversion conversion = convert_product(install, three_band_product(), {"-t", "palette"});
    ASSERT_EQ(conversion.run.status, 0) << conversion.run.stderr_text;
    EXPECT_EQ(conversion.run.stderr_text, "");  // libtiff knows the GDAL tags in every directory
    {
        GdalFile file(conversion.output);
        ASSERT_TRUE(file.is_open());
        EXPECT_EQ(file.directory_count(), 3);
        EXPECT_EQ(file.messages(), 0);
    }
    for (int n = 1; n <= 3; ++n) {
        SCOPED_TRACE(n);
        GdalFile file(directory_path(conversion.output, n));
        ASSERT_TRUE(file.is_open());
        EXPECT_EQ(file.type(), GDT_Float64);
        EXPECT_EQ(file.band_count(), 1);
        const double code = n - 1;
        expect_physical_values(file, code * 0.5 - 32, (code + 1) * 0.5 - 32);
        ASSERT_TRUE(file.has_nodata());
        EXPECT_TRUE(std::isnan(file.nodata()));
        EXPECT_EQ(file.item("FIELD"), std::string(1, static_cast<char>('A' + n - 1)));
        EXPECT_EQ(file.item("DTYPE"), "FLOAT64");
        EXPECT_EQ(file.item("STATISTICS_MINIMUM"),
                  std::to_string(static_cast<int>(code * 0.5 - 32)) + (n == 2 ? ".5" : ""));
        EXPECT_EQ(file.item("STATISTICS_VALID_PERCENT"), "66.67");
        EXPECT_EQ(file.messages(), 0);
    }
    for (const char* line : {"Multi-band mode: processing 3 bands", "Processing band 2/3",
                             "Single-band mode: outputting Float64 scientific values",
                             "Single-band: Converting from storage type 1 to Float64",
                             "Single-band: Scale parameters - step=0.5, offset=-32, nodata=255",
                             "Single-band: Converted to Float64 (24 bytes)",
                             "Band statistics: min=-31, max=-30.5, mean=-30.75, stddev=0.25, "
                             "valid=66.6667%",
                             "GDAL_METADATA written with 17 fields (including statistics)",
                             "Writing directory for band 2", "Ready to process band 3",
                             "Band 3/3 written successfully"}) {
        EXPECT_TRUE(conversion.logged(line)) << line;
    }
    EXPECT_TRUE(
        conversion.logged("GeoTIFF conversion completed: " + conversion.output + " (3 band(s))"));
}

TEST(ConversionSingleBand, WithoutSingleBandOnlyTheFirstBandIsWritten) {
    ConversionInstall install;
    const Conversion conversion =
        convert_product(install, three_band_product(), {"-t", "grayscale"});
    ASSERT_EQ(conversion.run.status, 0);
    GdalFile file(conversion.output);
    EXPECT_EQ(file.directory_count(), 1);
    EXPECT_EQ(file.type(), GDT_Byte);
    EXPECT_EQ(file.pixels<double>(GDT_Float64), (std::vector<double>{0, 1, 255}));
    EXPECT_EQ(file.item("TIFFTAG_IMAGEDESCRIPTION"), "A");
    EXPECT_FALSE(conversion.logged("Multi-band mode: processing 3 bands"));
    EXPECT_FALSE(conversion.logged("Processing band 1/3"));
}

TEST(ConversionSingleBand, OneBandLogsNoBandCountsAndFloat64IsKeptAsStored) {
    pb::Product product = one_band_product(2, 1, pb::FLOAT64, raw_bytes<double>({3, -1}));
    set_linear_scale(first_band(product), 2, 1, 3);
    ConversionInstall install(single_band_config);
    const Conversion conversion = convert_product(install, product, {});
    ASSERT_EQ(conversion.run.status, 0);
    GdalFile file(conversion.output);
    EXPECT_EQ(file.pixels<double>(GDT_Float64), (std::vector<double>{3, -1}));
    EXPECT_TRUE(conversion.logged("Single-band: Data already in Float64 format"));
    EXPECT_FALSE(conversion.logged("Multi-band mode: processing 1 bands"));
    EXPECT_FALSE(conversion.logged("Processing band 1/1"));
    EXPECT_EQ(file.messages(), 0);
}

TEST(ConversionSingleBand, ASecondBandOfAnotherSizeEndsTheRunAfterTheFirstDirectory) {
    pb::Product product = three_band_product();
    product.mutable_raster_data_list()->mutable_raster_data(1)->set_width(2);
    ConversionInstall install(single_band_config);
    const Conversion conversion = convert_product(install, product, {});
    EXPECT_EQ(conversion.run.status, 1);
    EXPECT_EQ(error_lines(install),
              std::vector<std::string>{"Band 1 dimensions (2x1) don't match expected (3x1)"});
    GdalFile file(conversion.output);
    ASSERT_TRUE(file.is_open());
    EXPECT_EQ(file.item("FIELD"), "A");
}

}  // namespace
