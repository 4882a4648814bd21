#include <climits>

#include "conversion_support.h"

namespace {

using namespace radmill_test;

// Sizes that claim far more memory than the file holds are refused with one error line
// before anything that big is allocated.
TEST(ResourceLimit, OversizedClaimsAreRefused) {
    const std::string hundred_bytes(100, '\x01');
    const struct {
        const char* name;
        pb::Product product;
        const char* config;
        std::vector<std::string> args;
        std::string error;
    } cases[] = {
        // clang-format off
        {"LZ4 size of 2 GiB from 100 bytes",
         raster_product(1, 1, pb::UINT8, hundred_bytes, "",
                        "compression: LZ4 uncompressed_size: " + std::to_string(INT_MAX)),
         debug_config, {}, "LZ4 decompression failed"},
        // A short block's zeroed tail is allowed up to 16 MiB or the image's own size.
        {"LZ4 size just beyond the short-block allowance",
         raster_product(1, 1, pb::UINT8, hundred_bytes, "",
                        "compression: LZ4 uncompressed_size: 16777217"),
         debug_config, {}, "LZ4 decompression failed"},
        {"largest width and height", raster_product(UINT_MAX, UINT_MAX, pb::UINT8, "1234"),
         debug_config, {}, "Image too large: 4294967295x4294967295 pixels of 1 bytes need 2 GiB or more"},
        {"one row per strip, huge height", raster_product(30001, UINT_MAX, pb::UINT8, "1234"),
         debug_config, {}, "Image too large: 30001x4294967295 pixels of 1 bytes need 2 GiB or more"},
        {"RGBA pixels of 2 GiB", raster_product(32768, 16384, pb::FLOAT32, "1234"), debug_config,
         {"-t", "rgb"}, "Image too large: 32768x16384 pixels of 4 bytes need 2 GiB or more"},
        {"single-band doubles of 2 GiB", raster_product(16384, 16384, pb::UINT8, "1234"),
         single_band_config, {}, "Image too large: 16384x16384 pixels of 8 bytes need 2 GiB or more"},
        // Below the limit the few bytes given are what decides.
        {"large image, tiny block", raster_product(40000, 40000, pb::UINT8, "1234"), debug_config,
         {}, "Data size mismatch: expected 1600000000 bytes, got 4 bytes"},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Conversion conversion(c.product, c.args, c.config);
        EXPECT_EQ(conversion.status, 1);
        EXPECT_EQ(conversion.errors(), std::vector<std::string>{c.error});
    }
}

// A big image's short block keeps the size its samples need, whatever the mode writes: the
// four literal bytes decode, the rest is zero.
TEST(ResourceLimit, ShortLz4BlockOfABigImageIsZeroFilled) {
    const std::uint32_t width = 2048, height = 2100;  // 17.2 MB of FLOAT32, beyond 16 MiB
    const std::string claim =
        "compression: LZ4 uncompressed_size: " + std::to_string(width * height * 4);
    for (const char* type : {"float", "palette"}) {
        SCOPED_TRACE(type);
        Conversion conversion(
            raster_product(width, height, pb::FLOAT32, "\x40\x01\x02\x03\x04", "", claim),
            {"-t", type});
        const GdalFile file(conversion);
        EXPECT_EQ(GDALGetRasterXSize(GDALGetBandDataset(file.band())), int(width));
    }
}

}  // namespace
