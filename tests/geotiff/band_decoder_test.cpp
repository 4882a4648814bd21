#include "band_decoder.h"

#include <gtest/gtest.h>
#include <lz4.h>

#include <string>
#include <vector>

namespace {

namespace pb = qrd::pb::common;
using Bytes = std::vector<std::uint8_t>;

Bytes block_bytes(const qrdcvt::SampleBlock& block) {
    return Bytes(block.data(), block.data() + block.size);
}

pb::DataBuffer buffer_of(const std::string& data, pb::StorageType type, pb::Endianness order,
                         pb::Compression compression = pb::NONE) {
    pb::DataBuffer buffer;
    buffer.set_data(data);
    buffer.set_storage_type(type);
    buffer.set_endianness(order);
    buffer.set_compression(compression);
    return buffer;
}

std::string lz4_block(const std::string& raw) {
    std::string compressed(LZ4_compressBound(static_cast<int>(raw.size())), '\0');
    const int size =
        LZ4_compress_default(raw.data(), compressed.data(), static_cast<int>(raw.size()),
                             static_cast<int>(compressed.size()));
    compressed.resize(size);
    return compressed;
}

struct SwapCase {
    std::size_t element_size;
    Bytes input;
    Bytes expected;
};

TEST(SwapByteOrder, ReversesWholeElementsAndKeepsThePartialTail) {
    const SwapCase cases[] = {
        {2, {1, 2, 3, 4}, {2, 1, 4, 3}},
        {2, {1, 2, 3}, {2, 1, 3}},
        {4, {1, 2, 3, 4, 5, 6}, {4, 3, 2, 1, 5, 6}},
        {8, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}, {8, 7, 6, 5, 4, 3, 2, 1, 9, 10, 11, 12}},
        {8, {1, 2, 3, 4, 5, 6, 7}, {1, 2, 3, 4, 5, 6, 7}},
    };
    for (const SwapCase& c : cases) {
        Bytes bytes = c.input;
        qrdcvt::swap_byte_order(bytes.data(), bytes.size(), c.element_size);
        EXPECT_EQ(bytes, c.expected)
            << "element size " << c.element_size << ", " << c.input.size() << " bytes";
    }
}

TEST(DecodeBuffer, DecompressesLz4AndSwapsAfterwards) {
    const std::string raw("\x01\x02\x03\x04\x05\x06", 6);
    pb::DataBuffer buffer = buffer_of(lz4_block(raw), pb::UINT16, pb::BIG, pb::LZ4);
    buffer.set_uncompressed_size(6);
    const qrdcvt::DecodedBand decoded = qrdcvt::decode_buffer(buffer);
    ASSERT_TRUE(decoded.error.empty()) << decoded.error;
    EXPECT_EQ(block_bytes(decoded.block), (Bytes{2, 1, 4, 3, 6, 5}));
}

TEST(DecodeBuffer, RefusesWhatItCannotDecode) {
    pb::DataBuffer negative = buffer_of(lz4_block("abc"), pb::UINT8, pb::LITTLE, pb::LZ4);
    negative.set_uncompressed_size(-1);
    pb::DataBuffer corrupt = buffer_of("\xff\xff\xff", pb::UINT8, pb::LITTLE, pb::LZ4);
    corrupt.set_uncompressed_size(100);
    const struct {
        pb::DataBuffer buffer;
        std::string error;
    } cases[] = {
        {negative, "LZ4 decompression failed"},
        {corrupt, "LZ4 decompression failed"},
        {buffer_of("ab", pb::UINT8, pb::LITTLE, pb::COMPRESSION_UNSPECIFIED),
         "Unsupported compression type: 0"},
        {buffer_of("ab", pb::UINT8, pb::LITTLE, static_cast<pb::Compression>(7)),
         "Unsupported compression type: 7"},
    };
    for (const auto& c : cases) {
        const qrdcvt::DecodedBand decoded = qrdcvt::decode_buffer(c.buffer);
        EXPECT_EQ(decoded.error, c.error);
        EXPECT_FALSE(decoded.block);
    }
}

}  // namespace
