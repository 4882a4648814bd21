#include "band_decoder.h"

#include <lz4.h>

#include <algorithm>
#include <climits>
#include <cstring>

#include "sample_access.h"
#include "simple_logger.h"
#include "storage_types.h"

namespace qrdcvt {

namespace pb = qrd::pb::common;

namespace {

constexpr const char* lz4_failure = "LZ4 decompression failed";

// An LZ4 block decodes to at most 255 bytes per byte (one length byte adds 255 to a match), so
// a bigger claim can't be true and is refused before it is allocated.
constexpr std::uint64_t lz4_max_expansion = 255;

// Frees the message's copy of bytes that are decoded, so that a band is held once.
void release(std::string& bytes) { std::string().swap(bytes); }

int decode_lz4(const char* source, int source_size, SampleBlock& block) {
    return LZ4_decompress_safe(source, reinterpret_cast<char*>(block.data()), source_size,
                               static_cast<int>(block.size));
}

// The compressed bytes move to the end of a block a little larger than the samples, their
// copy in the message goes, and decoding fills the block from the front: the margin that
// lz4.h documents for in-place decoding keeps the output behind the input still to be read.
// Needs a block that compressed.
int decode_lz4_in_place(std::string& source, SampleBlock& block, std::size_t size) {
    const std::size_t capacity = size + (size >> 8) + 32;
    block = SampleBlock::allocate(capacity);
    const int source_size = static_cast<int>(source.size());
    char* tail = reinterpret_cast<char*>(block.data()) + capacity - source.size();
    std::memcpy(tail, source.data(), source.size());
    release(source);
    block.size = size;
    return decode_lz4(tail, source_size, block);
}

// LZ4 counts in ints: a negative target or a source beyond INT_MAX can't be decoded.
DecodedBand decompress_lz4(pb::DataBuffer& buffer, std::uint64_t image_size) {
    std::string& source = *buffer.mutable_data();
    if (buffer.uncompressed_size() < 0 || source.size() > static_cast<std::size_t>(INT_MAX) ||
        static_cast<std::uint64_t>(buffer.uncompressed_size()) >
            std::min(lz4_max_expansion * source.size(), image_size)) {
        return {{}, lz4_failure};
    }
    const auto size = static_cast<std::size_t>(buffer.uncompressed_size());
    SampleBlock block;
    int decoded;
    if (source.size() < size) {
        decoded = decode_lz4_in_place(source, block, size);
    } else {
        block = SampleBlock::allocate(size);
        decoded = decode_lz4(source.data(), static_cast<int>(source.size()), block);
        release(source);
    }
    // A block that decodes short would leave samples nobody sent: nothing is made up.
    if (decoded < 0 || static_cast<std::size_t>(decoded) != size) return {{}, lz4_failure};
    return {std::move(block), {}};
}

DecodedBand copy_uncompressed(pb::DataBuffer& buffer) {
    std::string& source = *buffer.mutable_data();
    SampleBlock block = SampleBlock::allocate(source.size());
    std::memcpy(block.data(), source.data(), source.size());
    release(source);
    return {std::move(block), {}};
}

template <typename T, T (*swap)(T)>
void swap_elements(std::uint8_t* bytes, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) store_sample(bytes, i, swap(load_sample<T>(bytes, i)));
}

std::uint16_t swap16(std::uint16_t v) { return __builtin_bswap16(v); }
std::uint32_t swap32(std::uint32_t v) { return __builtin_bswap32(v); }
std::uint64_t swap64(std::uint64_t v) { return __builtin_bswap64(v); }

// Reverses the bytes of each whole element_size-byte element; a partial tail stays as it is.
void swap_byte_order(std::uint8_t* bytes, std::size_t size, std::size_t element_size) {
    const std::size_t count = size / element_size;
    switch (element_size) {
        case 2:
            swap_elements<std::uint16_t, swap16>(bytes, count);
            break;
        case 4:
            swap_elements<std::uint32_t, swap32>(bytes, count);
            break;
        case 8:
            swap_elements<std::uint64_t, swap64>(bytes, count);
            break;
        default:
            break;
    }
}

void bring_to_host_order(const pb::DataBuffer& buffer, SampleBlock& block) {
    auto& log = *corvane::rs::wr::log::SimpleLogger::getInstance();
    const auto info = storage_type_info(buffer.storage_type());
    if (!info || info->bytes_per_sample == 1) return;  // single bytes have no order
    if (buffer.endianness() != pb::BIG) {
        log.debug() << "No byte-swap needed (data endian: LITTLE matches host)" << std::endl;
        return;
    }
    const std::size_t element_size = info->bytes_per_sample;
    log.info() << "Byte-swapping " << block.size / element_size << " elements of size "
               << element_size << " bytes (data endian: BIG, host: LITTLE)" << std::endl;
    swap_byte_order(block.data(), block.size, element_size);
}

}  // namespace

DecodedBand decode_buffer(pb::DataBuffer&& buffer, std::uint64_t image_size) {
    DecodedBand decoded;
    switch (buffer.compression()) {
        case pb::LZ4:
            decoded = decompress_lz4(buffer, image_size);
            break;
        case pb::NONE:
            decoded = copy_uncompressed(buffer);
            break;
        default:
            return {{},
                    "Unsupported compression type: " +
                        std::to_string(static_cast<int>(buffer.compression()))};
    }
    if (decoded.block) bring_to_host_order(buffer, decoded.block);
    return decoded;
}

}  // namespace qrdcvt
