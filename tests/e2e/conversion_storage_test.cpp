#include <cfloat>
#include <cmath>
#include <limits>

#include "conversion_support.h"

namespace {

using namespace radmill_test;

constexpr double nan = std::numeric_limits<double>::quiet_NaN();
constexpr double inf = std::numeric_limits<double>::infinity();
constexpr std::int64_t two53 = std::int64_t{1} << 53;

struct StorageCase {
    pb::StorageType type;
    std::string raw;             // six little-endian samples
    std::vector<double> values;  // as grayscale writes them
    GDALDataType grayscale_type, float_type;
    std::string not_scanned;    // empty: no linear scale
    std::string valid_percent;  // of float output
};

// clang-format off
const StorageCase storage_cases[] = {
    {pb::UINT8, raw_bytes<std::uint8_t>({0, 1, 200, 255, 7, 9}), {0, 1, 200, 255, 7, 9},
     GDT_Byte, GDT_Float32, "", "100.00"},
    // A code beyond the samples' range marks none of them: not even 300's low byte, 44.
    {pb::UINT8, raw_bytes<std::uint8_t>({0, 44, 200, 255, 7, 9}), {0, 44, 200, 255, 7, 9},
     GDT_Byte, GDT_Float32, "300", "100.00"},
    {pb::UINT16, raw_bytes<std::uint16_t>({0, 65535, 300, 1, 2, 3}), {0, 65535, 300, 1, 2, 3},
     GDT_UInt16, GDT_Float32, "65535", "83.33"},
    {pb::INT32, raw_bytes<std::int32_t>({INT32_MIN, INT32_MAX, -1, 0, 5, 6}),
     {INT32_MIN, INT32_MAX, -1, 0, 5, 6}, GDT_Int32, GDT_Float64, "-1", "83.33"},
    {pb::INT64, raw_bytes<std::int64_t>({-two53, two53, -1, 0, 5, 6}),
     {-9007199254740992.0, 9007199254740992.0, -1, 0, 5, 6}, GDT_Int64, GDT_Float64, "5", "83.33"},
    // Fill values become NaN; not_scanned means nothing to float data.
    {pb::FLOAT32, raw_bytes<float>({1.5f, -FLT_MAX, HUGE_VALF, 3e38f, -7, 1e-30f}),
     {1.5, nan, nan, 3e38f, -7, 1e-30f}, GDT_Float32, GDT_Float32, "-7", "66.67"},
    {pb::FLOAT64, raw_bytes<double>({1e300, -1e-300, -inf, 0.1, -1e300, 2}),
     {1e300, -1e-300, nan, 0.1, nan, 2}, GDT_Float64, GDT_Float64, "2", "66.67"},
};
// clang-format on

// The case's band as one of the encodings.
pb::Product encoded(const StorageCase& c, const std::string& encoding) {
    pb::Product product = raster_product(
        3, 2, c.type, c.raw,
        c.not_scanned.empty() ? ""
                              : "data_descriptor { data_scale { linear { step: 2 not_scanned: " +
                                    c.not_scanned + " } } }");
    pb::DataBuffer& buffer = *first_band(product).mutable_data_buffers(0);
    const int size = GDALGetDataTypeSizeBytes(c.grayscale_type);
    if (encoding == "big-endian") {
        GDALSwapWords(buffer.mutable_data()->data(), size, 6, size);
        buffer.set_endianness(pb::BIG);
    } else if (encoding == "lz4") {
        buffer.set_data(lz4_block(c.raw));
        buffer.set_compression(pb::LZ4);
        buffer.set_uncompressed_size(static_cast<std::int32_t>(c.raw.size()));
    }
    return product;
}

TEST(ConversionStorage, EveryStorageTypeAndEncodingInGrayscaleAndFloat) {
    for (const StorageCase& c : storage_cases) {
        for (const std::string encoding : {"little-endian", "big-endian", "lz4"}) {
            for (const std::string color_type : {"grayscale", "float"}) {
                SCOPED_TRACE(pb::StorageType_Name(c.type) + " " + encoding + " " + color_type);
                const Conversion conversion(encoded(c, encoding), {"-t", color_type});
                const GdalFile file(conversion);
                const bool float_mode = color_type == "float";
                const bool float_storage = c.type == pb::FLOAT32 || c.type == pb::FLOAT64;
                EXPECT_EQ(file.type(), float_mode ? c.float_type : c.grayscale_type);
                std::vector<std::string> expected = texts(c.values);
                // Float over integers writes the codes themselves, with not_scanned as NaN.
                if (float_mode && !float_storage) {
                    std::replace(expected.begin(), expected.end(), c.not_scanned,
                                 std::string("nan"));
                }
                EXPECT_EQ(texts(file.values()), expected);
                EXPECT_EQ(file.nodata(), float_mode || float_storage ? "nan" : c.not_scanned);
                EXPECT_EQ(file.item("STATISTICS_VALID_PERCENT"),
                          float_mode || float_storage ? c.valid_percent : "<absent>");
            }
        }
    }
}

// Every strip, the short last one too, holds what its rows hold. 19 rows of 1579 pixels would
// be 30001.
TEST(ConversionStorage, StripsHoldAtMostThirtyThousandPixels) {
    const struct {
        std::uint32_t width, height;
        int rows_per_strip;
    } cases[] = {{100, 1000, 300}, {100, 50, 50}, {1579, 20, 18}, {30001, 2, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.width);
        std::string bytes(c.width * c.height, '\0');
        std::vector<double> values;
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            bytes[i] = static_cast<char>(i % 251);
            values.push_back(i % 251);
        }
        const Conversion conversion(raster_product(c.width, c.height, pb::UINT8, bytes), {});
        const GdalFile file(conversion);
        int block_width = 0, rows_per_strip = 0;
        GDALGetBlockSize(file.band(), &block_width, &rows_per_strip);
        EXPECT_EQ(rows_per_strip, c.rows_per_strip);
        EXPECT_EQ(file.values(), values);
    }
}

// A short LZ4 block is refused, however big the image it claims: no samples are made up.
TEST(ConversionStorage, ShortLz4BlockIsRefused) {
    const std::uint32_t width = 2048, height = 2100;
    const std::string claim =
        "compression: LZ4 uncompressed_size: " + std::to_string(width * height * 4);
    for (const char* type : {"float", "palette"}) {
        SCOPED_TRACE(type);
        const Conversion conversion(
            raster_product(width, height, pb::FLOAT32, "\x40\x01\x02\x03\x04", "", claim),
            {"-t", type});
        EXPECT_EQ(conversion.status, 1);
        EXPECT_EQ(conversion.errors(), std::vector<std::string>{"LZ4 decompression failed"});
        EXPECT_FALSE(file_exists(conversion.output));
    }
}

}  // namespace
