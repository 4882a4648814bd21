#include <climits>
#include <cstdio>

#include "conversion_support.h"

namespace {

using namespace radmill_test;

// A 2x2 FLOAT32 band with buffer_text merged into its buffer.
pb::Product floats(const std::string& buffer_text = "") {
    return raster_product(2, 2, pb::FLOAT32, std::string(16, '\0'), "", buffer_text);
}

pb::Product with_text(pb::Product product, const std::string& text) {
    merge_text(product, text);
    return product;
}

struct FailureCase {
    const char* name;
    pb::Product product;
    std::vector<std::string> args;
    std::string error;
    const char* config = debug_config;
};

// clang-format off
const FailureCase failure_cases[] = {
    {"empty band list", with_text({}, "raster_data_list {}"), {}, "Raster data list is empty"},
    {"zero width", raster_product(0, 2, pb::FLOAT32, ""), {}, "Invalid raster dimensions: 0x2"},
    {"no buffer", with_text({}, "raster_data_list { raster_data { width: 2 height: 2 } }"), {},
     "No data buffers in raster data"},
    {"compression 0", floats("compression: 0"), {},
     "Unsupported compression type: 0"},
    {"negative LZ4 size", floats("compression: LZ4 uncompressed_size: -16"), {},
     "LZ4 decompression failed"},
    {"unknown storage", floats("storage_type: 9"), {"-t", "float"},
     "Unsupported storage type: 9"},
    // The type is refused before the block's size counts, as nothing of it would be read.
    {"single-band int64", raster_product(2, 1, pb::INT64, std::string(4, '\0')), {},
     "Unsupported storage type for single-band conversion: 4", single_band_config},
    // Refused before the float cleanup reads past the block.
    {"short float block", raster_product(4, 4, pb::FLOAT32, std::string(60, '\0')),
     {"-t", "grayscale"}, "Data size mismatch: expected 64 bytes, got 60 bytes"},
    {"short single-band block", raster_product(2, 2, pb::UINT16, "abcdef"), {},
     "Data size mismatch: expected 32 bytes, got 6 bytes", single_band_config},
    {"long grayscale block", raster_product(2, 2, pb::UINT8, "12345"), {},
     "Data size mismatch: expected 4 bytes, got 5 bytes"},
    {"rgb over one byte per pixel", raster_product(2, 2, pb::UINT8, "1234"), {"-t", "rgb"},
     "Data size mismatch: expected 16 bytes, got 4 bytes"},
    {"palette over float64", raster_product(2, 1, pb::FLOAT64, std::string(16, '\0')),
     {"-t", "palette"}, "Unsupported conversion from storage type 6 to UINT8 for palette"},
    {"rgb over float64", raster_product(2, 1, pb::FLOAT64, std::string(16, '\0')),
     {"-t", "rgb"}, "Unsupported conversion from storage type 6 to UINT8 for RGB"},
    // Bands count from 0 here.
    {"second band of another width",
     with_text(raster_product(3, 1, pb::UINT8, "abc"), "raster_data_list { raster_data { width: 2 "
                                                       "height: 1 } }"),
     {}, "Band 1 dimensions (2x1) don't match expected (3x1)", single_band_config},
    {"second band of another height",
     with_text(raster_product(3, 1, pb::UINT8, "abc"), "raster_data_list { raster_data { width: 3 "
                                                       "height: 2 } }"),
     {}, "Band 1 dimensions (3x2) don't match expected (3x1)", single_band_config},
    // Sizes that claim far more memory than the file holds are refused before anything that
    // big is allocated.
    {"largest width and height", raster_product(UINT_MAX, UINT_MAX, pb::UINT8, "1234"), {},
     "Image too large: 4294967295x4294967295 pixels of 1 bytes need 2 GiB or more"},
    {"one row per strip, huge height", raster_product(30001, UINT_MAX, pb::UINT8, "1234"), {},
     "Image too large: 30001x4294967295 pixels of 1 bytes need 2 GiB or more"},
    {"RGBA pixels of 2 GiB", raster_product(32768, 16384, pb::FLOAT32, "1234"), {"-t", "rgb"},
     "Image too large: 32768x16384 pixels of 4 bytes need 2 GiB or more"},
    {"single-band doubles of 2 GiB", raster_product(16384, 16384, pb::UINT8, "1234"), {},
     "Image too large: 16384x16384 pixels of 8 bytes need 2 GiB or more",
     single_band_config},
    // Below the limit the few bytes given are what decides.
    {"large image, tiny block", raster_product(40000, 40000, pb::UINT8, "1234"), {},
     "Data size mismatch: expected 1600000000 bytes, got 4 bytes"},
};
// clang-format on

// Whatever stops a run, the file at the output path stays as it was, and nothing of the run
// remains beside it.
TEST(ConversionFailure, OneErrorLineAndStatusOne) {
    for (const FailureCase& c : failure_cases) {
        SCOPED_TRACE(c.name);
        Conversion conversion(c.config);
        write_file(conversion.path("out.tif"), "an earlier product");
        conversion.run(c.product, c.args);
        EXPECT_EQ(conversion.status, 1);
        EXPECT_EQ(conversion.errors(), std::vector<std::string>{c.error});
        EXPECT_EQ(read_file(conversion.output), "an earlier product");
        EXPECT_EQ(directory_entries(conversion.root()),
                  (std::vector<std::string>{"config", "log", "out.tif", "product.pb"}));
        EXPECT_FALSE(conversion.logged(
            "[info] Float mode: cleaning up invalid values and computing statistics"));
    }
}

TEST(ConversionFailure, UnreadableColourScalesEndTheRunBeforeTheFileIsCreated) {
    for (const char* text : {"{ \"DBZH\": ", static_cast<const char*>(nullptr)}) {  // null: none
        SCOPED_TRACE(text != nullptr ? text : "no file");
        Conversion conversion;
        const std::string path = conversion.config_dir() + "default_color_scales.json";
        std::remove(path.c_str());
        if (text != nullptr) write_file(path, text);
        conversion.run(floats(), {"-t", "float"});
        EXPECT_EQ(conversion.status, 1);
        const std::vector<std::string> errors = conversion.errors();
        ASSERT_EQ(errors.size(), 1u);
        if (text != nullptr) {
            EXPECT_EQ(errors[0].rfind(path + ": [json.exception.parse_error.", 0), 0u) << errors[0];
        } else {
            EXPECT_EQ(errors[0], "Failed to open file: " + path);
        }
        EXPECT_FALSE(file_exists(conversion.output));
    }
}

}  // namespace
