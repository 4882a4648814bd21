// Pins the bytes of every output mode's file, so that work on the converter's speed or memory
// can't change them unnoticed. The product takes the longest path: LZ4-compressed, big-endian
// and projected, with every kind of special value. A change that is meant to alter the output
// needs new constants; the failure message prints them.
#include <lz4.h>

#include <cfloat>
#include <cstdint>
#include <cstdio>
#include <limits>

#include "conversion_support.h"

namespace {

using namespace radmill_test;

// Neither a multiple of the other nor of a strip, so that the last strip is a short one.
constexpr std::uint32_t width = 61;
constexpr std::uint32_t height = 37;
constexpr int not_scanned = -999;
constexpr int under_threshold = -998;

// A slope of reflectivities with the special codes, NaN, infinities and -FLT_MAX strewn over it.
std::vector<float> samples() {
    std::vector<float> values;
    for (std::uint32_t i = 0; i < width * height; ++i) {
        const float x = static_cast<float>(i % width), y = static_cast<float>(i / width);
        float value = -10.0f + 0.37f * x + 0.91f * y;
        if (i % 7 == 3) value = not_scanned;
        if (i % 11 == 5) value = under_threshold;
        if (i % 13 == 8) value = std::numeric_limits<float>::quiet_NaN();
        if (i % 29 == 1) value = std::numeric_limits<float>::infinity();
        if (i % 31 == 2) value = -std::numeric_limits<float>::infinity();
        if (i == 100) value = -FLT_MAX;
        values.push_back(value);
    }
    return values;
}

std::string big_endian(const std::string& little_endian) {
    std::string bytes = little_endian;
    for (std::size_t i = 0; i + 4 <= bytes.size(); i += 4) {
        std::swap(bytes[i], bytes[i + 3]);
        std::swap(bytes[i + 1], bytes[i + 2]);
    }
    return bytes;
}

std::string lz4_block(const std::string& raw) {
    std::string block(LZ4_compressBound(static_cast<int>(raw.size())), '\0');
    const int size = LZ4_compress_default(raw.data(), block.data(), static_cast<int>(raw.size()),
                                          static_cast<int>(block.size()));
    block.resize(size);
    return block;
}

// Two bands, so that single-band mode writes two directories, at a fixed product time.
pb::Product checksum_product() {
    const std::string raw = raw_bytes(samples());
    pb::Product product = raster_product(
        width, height, pb::FLOAT32, lz4_block(big_endian(raw)),
        "data_descriptor { name: 'DBZH' data_scale { linear { not_scanned: -999 "
        "under_threshold: -998 step: 0.5 offset: -32 } } } "
        "geo_reference { projection { parameters { kind: AZIMUTHAL_EQUIDISTANT "
        "center_latitude: 60.2 center_longitude: 24.9 } } "
        "bounding_box { south_west { x: -30500 y: -18500 } north_east { x: 30500 y: 18500 } } }",
        "compression: LZ4 endianness: BIG uncompressed_size: " + std::to_string(raw.size()));
    merge_text(product,
               "name: 'Reflectivity' product_type: PPI time { seconds: 1717236000 } "
               "source { product_name: 'DBZH' instruments { name: 'Hilltop' "
               "location { position { latitude: 60.2 longitude: 24.9 } altitude: 30 } } }");
    const pb::RasterData band = first_band(product);
    *product.mutable_raster_data_list()->add_raster_data() = band;
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
        {"grayscale", debug_config, "grayscale", "21a27b9118997108"},
        {"float", debug_config, "float", "21a27b9118997108"},
        {"palette", debug_config, "palette", "f05aecf5dbecf370"},
        {"rgb", debug_config, "rgb", "a34c326b3653be17"},
        {"single-band", single_band_config, "float", "232b3d139a834353"},
    };
    const pb::Product product = checksum_product();
    for (const Case& c : cases) {
        const Conversion run(product, {"-t", c.color_type}, c.config);
        ASSERT_EQ(run.status, 0) << c.mode << ": " << run.stderr_text;
        EXPECT_EQ(checksum(read_file(run.output)), c.expected) << c.mode;
    }
}

}  // namespace
