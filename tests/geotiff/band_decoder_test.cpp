#include "band_decoder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <string>
#include <vector>

#include "product_files.h"

namespace {

namespace pb = qrd::pb::common;

pb::DataBuffer lz4_buffer(const std::string& block, std::int32_t uncompressed_size) {
    pb::DataBuffer buffer;
    buffer.set_storage_type(pb::UINT8);
    buffer.set_compression(pb::LZ4);
    buffer.set_data(block);
    buffer.set_uncompressed_size(uncompressed_size);
    return buffer;
}

// The best LZ4 can do (a long run of one byte) stays within 255 bytes per block byte, the
// bound beyond which a claimed size is refused unallocated, unless the image itself needs it.
TEST(DecodeBuffer, Lz4SizeIsBoundByTheBlock) {
    const std::string zeros(1 << 20, '\0');
    const std::string block = radmill_test::lz4_block(zeros);
    ASSERT_LE(zeros.size(), 255 * block.size());
    const qrdcvt::DecodedBand decoded =
        qrdcvt::decode_buffer(lz4_buffer(block, static_cast<std::int32_t>(zeros.size())), 0);
    ASSERT_EQ(decoded.error, "");
    EXPECT_EQ(decoded.block.size, zeros.size());
    EXPECT_TRUE(std::all_of(decoded.block.data(), decoded.block.data() + decoded.block.size,
                            [](std::uint8_t byte) { return byte == 0; }));

    const std::string hundred_bytes = radmill_test::lz4_block(std::string(90, 'x') + "0123456789");
    const std::int64_t just_beyond = (std::int64_t{16} << 20) + 1;
    const struct {
        std::int64_t claimed;
        std::uint64_t image_size;
        bool honoured;
    } claims[] = {
        {just_beyond, 0, false},
        {std::int64_t{1} << 30, 0, false},
        {INT_MAX, 0, false},
        {just_beyond, just_beyond - 1, false},
        {just_beyond, just_beyond, true},
    };
    for (const auto& c : claims) {
        SCOPED_TRACE(c.claimed);
        const qrdcvt::DecodedBand decoded = qrdcvt::decode_buffer(
            lz4_buffer(hundred_bytes, static_cast<std::int32_t>(c.claimed)), c.image_size);
        EXPECT_EQ(decoded.error, c.honoured ? "" : "LZ4 decompression failed");
        EXPECT_EQ(decoded.block.size, c.honoured ? static_cast<std::size_t>(c.claimed) : 0u);
    }
}

// Whether the block compressed (decoded in place, behind the compressed bytes) or not (decoded
// beside them), the samples come out the same, a short block's rest is zero, and the message,
// handed over for its bytes only, no longer holds them.
TEST(DecodeBuffer, DecodesAndReleasesTheBufferBytes) {
    std::string compressible;
    for (int i = 0; i < 60000; ++i) compressible += static_cast<char>(i % 3 == 0 ? i % 251 : 7);
    std::string noise;
    for (std::uint32_t state = 1; noise.size() < 4096;) {
        state = state * 1664525u + 1013904223u;
        noise += static_cast<char>(state >> 24);
    }
    const struct {
        const char* name;
        std::string raw;
        bool compressed;
        std::size_t missing;  // bytes claimed beyond what the block holds
    } cases[] = {
        {"compressible", compressible, true, 0},
        {"incompressible", noise, true, 0},
        {"short block", compressible, true, 1000},
        {"uncompressed", noise, false, 0},
    };
    for (const auto& c : cases) {
        pb::DataBuffer buffer = lz4_buffer(c.compressed ? radmill_test::lz4_block(c.raw) : c.raw,
                                           static_cast<std::int32_t>(c.raw.size() + c.missing));
        if (!c.compressed) buffer.set_compression(pb::NONE);
        const qrdcvt::DecodedBand decoded = qrdcvt::decode_buffer(std::move(buffer), 0);
        ASSERT_EQ(decoded.error, "") << c.name;
        const std::string expected = c.raw + std::string(c.missing, '\0');
        EXPECT_EQ(
            std::string(reinterpret_cast<const char*>(decoded.block.data()), decoded.block.size),
            expected)
            << c.name;
        EXPECT_TRUE(buffer.data().empty()) << c.name;
    }
}

}  // namespace
