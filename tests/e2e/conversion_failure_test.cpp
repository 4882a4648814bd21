#include "conversion_support.h"

namespace {

using namespace radmill_test;

pb::Product float_product(std::uint32_t width, std::uint32_t height, std::size_t samples) {
    return one_band_product(width, height, pb::FLOAT32,
                            raw_bytes<float>(std::vector<float>(samples, 1.0f)));
}

struct FailureCase {
    const char* name;
    pb::Product product;
    std::vector<std::string> args;
    std::string error;
    bool leaves_file;         // failures once the TIFF is open leave it in place
    std::string output = {};  // empty: out.tif in the installation
    const char* config = debug_config;
};

std::vector<FailureCase> failure_cases() {
    pb::Product empty_list;
    empty_list.mutable_raster_data_list();
    pb::Product no_buffer = float_product(2, 2, 4);
    first_band(no_buffer).clear_data_buffers();
    pb::Product uncompressible = float_product(2, 2, 4);
    first_band(uncompressible)
        .mutable_data_buffers(0)
        ->set_compression(pb::COMPRESSION_UNSPECIFIED);
    pb::Product negative_size = float_product(2, 2, 4);
    compress_lz4(first_band(negative_size), raw_bytes<float>({1, 2, 3, 4}));
    first_band(negative_size).mutable_data_buffers(0)->set_uncompressed_size(-16);
    pb::Product unknown_storage = float_product(2, 2, 4);
    first_band(unknown_storage)
        .mutable_data_buffers(0)
        ->set_storage_type(static_cast<pb::StorageType>(9));
    pb::Product long_block = one_band_product(2, 2, pb::UINT8, "12345");

    return {
        {"empty band list", empty_list, {}, "Raster data list is empty", false},
        {"zero width", float_product(0, 2, 0), {}, "Invalid raster dimensions: 0x2", false},
        {"no buffer", no_buffer, {}, "No data buffers in raster data", false},
        {"unopenable output",
         float_product(2, 2, 4),
         {},
         "Failed to open output file for GeoTIFF: /nonexistent-dir/out.tif",
         false,
         "/nonexistent-dir/out.tif"},
        {"compression 0", uncompressible, {}, "Unsupported compression type: 0", true},
        {"negative LZ4 size", negative_size, {}, "LZ4 decompression failed", true},
        {"unknown storage", unknown_storage, {"-t", "float"}, "Unsupported storage type: 9", true},
        {"single-band int64",
         one_band_product(1, 1, pb::INT64, raw_bytes<std::int64_t>({1})),
         {"-t", "grayscale"},
         "Unsupported storage type for single-band conversion: 4",
         true,
         {},
         single_band_config},
        {"short float block",
         float_product(2, 2, 3),
         {"-t", "float"},
         "Data size mismatch: expected 16 bytes, got 12 bytes",
         true},
        {"short single-band block",
         one_band_product(2, 2, pb::UINT16, "abcdef"),
         {},
         "Data size mismatch: expected 32 bytes, got 6 bytes",
         true,
         {},
         single_band_config},
        {"long grayscale block",
         long_block,
         {"-t", "grayscale"},
         "Data size mismatch: expected 4 bytes, got 5 bytes",
         true},
        {"rgb over one byte per pixel",
         one_band_product(2, 2, pb::UINT8, "1234"),
         {"-t", "rgb"},
         "Data size mismatch: expected 16 bytes, got 4 bytes",
         true},
        {"image of 2 GiB",
         float_product(32768, 16384, 1),
         {"-t", "float"},
         "Image too large: 32768x16384 pixels of 4 bytes need 2 GiB or more",
         true},
    };
}

TEST(ConversionFailure, OneErrorLineAndStatusOne) {
    for (const FailureCase& c : failure_cases()) {
        SCOPED_TRACE(c.name);
        ConversionInstall install(c.config);
        const Conversion conversion = convert_product(install, c.product, c.args, c.output);
        EXPECT_EQ(conversion.run.status, 1);
        EXPECT_EQ(error_lines(install), std::vector<std::string>{c.error});
        EXPECT_EQ(file_exists(conversion.output), c.leaves_file);
    }
}

TEST(ConversionFailure, ShortBlockIsRefusedBeforeTheConversionReadsIt) {
    ConversionInstall install;
    const Conversion conversion =
        convert_product(install, float_product(4, 4, 15), {"-t", "grayscale"});
    EXPECT_EQ(conversion.run.status, 1);
    EXPECT_FALSE(
        conversion.logged("Float mode: cleaning up invalid values and computing statistics"));
    EXPECT_TRUE(conversion.logged(
        "Buffer storage type: 5, single_band: 0, output_data_size: 64, data_size: 60"));
}

TEST(ConversionFailure, ShortLz4BlockIsPaddedWithZeros) {
    pb::Product product = one_band_product(4, 2, pb::UINT8, "");
    compress_lz4(first_band(product), "\x01\x02\x03\x04\x05");
    first_band(product).mutable_data_buffers(0)->set_uncompressed_size(8);
    ConversionInstall install;
    const Conversion conversion = convert_product(install, product, {"-t", "grayscale"});
    ASSERT_EQ(conversion.run.status, 0);
    GdalFile file(conversion.output);
    EXPECT_EQ(file.pixels<std::uint8_t>(GDT_Byte),
              (std::vector<std::uint8_t>{1, 2, 3, 4, 5, 0, 0, 0}));
    EXPECT_EQ(file.messages(), 0);
}

TEST(ConversionFailure, UnreadableColourScalesEndTheRunBeforeTheFileIsCreated) {
    const struct {
        const char* name;
        std::string file;
        std::string text;  // empty: the file is removed
    } cases[] = {
        {"malformed default RGB", "default_color_scales.json", "{ \"DBZH\": "},
        {"wrong type in custom palette", "color_scales_palette.json",
         R"({"SITE": {"DBZH": {"colors": "red"}}})"},
        {"missing default RGB", "default_color_scales.json", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ConversionInstall install;
        const std::string path = install.config_dir() + c.file;
        if (c.text.empty()) {
            std::remove(path.c_str());
        } else {
            write_file(path, c.text);
        }
        const Conversion conversion =
            convert_product(install, float_product(2, 2, 4), {"-t", "float"});
        EXPECT_EQ(conversion.run.status, 1);
        const std::vector<std::string> errors = error_lines(install);
        ASSERT_EQ(errors.size(), 1u);
        EXPECT_NE(errors[0].find(path), std::string::npos) << errors[0];
        if (c.text.empty()) {
            EXPECT_EQ(errors[0], "Failed to open file: " + path);
        }
        EXPECT_FALSE(file_exists(conversion.output));
    }
}

}  // namespace
