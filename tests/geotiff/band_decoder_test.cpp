#include "band_decoder.h"

#include <gtest/gtest.h>

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

// A claim is refused unallocated beyond what the block can decode to (255 bytes per block
// byte at the best, a long run of one byte) or what the image needs; a block that decodes to
// less than its claim is refused too: nothing is made up.
TEST(DecodeBuffer, Lz4SizeMustBeExactlyWhatTheBlockHolds) {
    const std::string zeros(1 << 20, '\0');
    const std::string block = radmill_test::lz4_block(zeros);
    const auto size = static_cast<std::int64_t>(zeros.size());
    const struct {
        std::int64_t claimed;
        std::uint64_t image_size;
        bool honoured;
    } claims[] = {
        {size, zeros.size(), true},
        {size, zeros.size() - 1, false},                                      // beyond the image
        {size + 1, zeros.size() + 1, false},                                  // short of the claim
        {255 * static_cast<std::int64_t>(block.size()) + 1, INT_MAX, false},  // beyond LZ4
        {INT_MAX, INT_MAX, false},
    };
    for (const auto& c : claims) {
        SCOPED_TRACE(c.claimed);
        const qrdcvt::DecodedBand decoded = qrdcvt::decode_buffer(
            lz4_buffer(block, static_cast<std::int32_t>(c.claimed)), c.image_size);
        EXPECT_EQ(decoded.error, c.honoured ? "" : "LZ4 decompression failed");
        EXPECT_EQ(decoded.block.size, c.honoured ? zeros.size() : 0u);
    }
}

// Whether the block compressed (decoded in place, behind the compressed bytes) or not (decoded
// beside them), the samples come out the same, and the message, handed over for its bytes
// only, no longer holds them.
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
    } cases[] = {
        {"compressible", compressible, true},
        {"incompressible", noise, true},
        {"uncompressed", noise, false},
    };
    for (const auto& c : cases) {
        pb::DataBuffer buffer = lz4_buffer(c.compressed ? radmill_test::lz4_block(c.raw) : c.raw,
                                           static_cast<std::int32_t>(c.raw.size()));
        if (!c.compressed) buffer.set_compression(pb::NONE);
        const qrdcvt::DecodedBand decoded = qrdcvt::decode_buffer(std::move(buffer), INT_MAX);
        ASSERT_EQ(decoded.error, "") << c.name;
        EXPECT_EQ(
            std::string(reinterpret_cast<const char*>(decoded.block.data()), decoded.block.size),
            c.raw)
            << c.name;
        EXPECT_TRUE(buffer.data().empty()) << c.name;
    }
}

}  // namespace
