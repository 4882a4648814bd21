// Pins the bytes of every output mode's file, so that work on the converter's speed or memory
// can't change them unnoticed. The product takes the longest path: a sample product of two
// projected bands with fill values added, LZ4-compressed and big-endian. At 400 columns a strip
// holds 75 rows, so the last of 170 rows is a short one. A change that is meant to alter the
// output needs new constants; the failure message prints them.
#include <cfloat>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>

#include "conversion_support.h"

namespace {

using namespace radmill_test;

pb::Product checksum_product() {
    pb::Product product = sample_product(
        {"--width", "400", "--height", "170", "--bands", "2", "--projection", "parameters:aeqd"});
    // Values the sample maker doesn't write: infinities, the not-scanned code, and in the second
    // band -FLT_MAX, which as data would stretch the first band's palette range to nothing.
    const float inf = std::numeric_limits<float>::infinity();
    const std::vector<float> fills[] = {{inf, -inf, 255}, {inf, -inf, 255, -FLT_MAX}};
    for (int n = 0; n < 2; ++n) {
        pb::DataBuffer& buffer =
            *product.mutable_raster_data_list()->mutable_raster_data(n)->mutable_data_buffers(0);
        std::string raw = buffer.data();
        const std::size_t site = 85 * 400 + 200;  // the middle pixel
        std::memcpy(raw.data() + 4 * site, fills[n].data(), fills[n].size() * 4);
        GDALSwapWords(raw.data(), 4, static_cast<int>(raw.size() / 4), 4);
        buffer.set_data(lz4_block(raw));
        buffer.set_compression(pb::LZ4);
        buffer.set_endianness(pb::BIG);
        buffer.set_uncompressed_size(static_cast<std::int32_t>(raw.size()));
    }
    return product;
}

// FNV-1a, 64 bits, as 16 hexadecimal digits.
std::string checksum(const std::string& bytes) {
    std::uint64_t hash = 0xcbf29ce484222325u;
    for (const char byte : bytes) {
        hash = (hash ^ static_cast<unsigned char>(byte)) * 0x100000001b3u;
    }
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
    return text;
}

TEST(OutputChecksum, EveryModeWritesTheBytesItAlwaysHas) {
    struct Case {
        const char* mode;
        const char* config;
        const char* color_type;
        const char* expected;
    };
    const Case cases[] = {
        {"grayscale", debug_config, "grayscale", "27bd874f3c20d0e9"},
        {"float", debug_config, "float", "27bd874f3c20d0e9"},
        {"palette", debug_config, "palette", "40c6a462a0e3da45"},
        {"rgb", debug_config, "rgb", "fdeee28340ecab89"},
        {"single-band", single_band_config, "float", "fcb0172e666fe772"},
    };
    const pb::Product product = checksum_product();
    for (const Case& c : cases) {
        const Conversion run(product, {"-t", c.color_type}, c.config);
        ASSERT_EQ(run.status, 0) << c.mode << ": " << run.stderr_text;
        EXPECT_EQ(checksum(read_file(run.output)), c.expected) << c.mode;
    }
}

}  // namespace
