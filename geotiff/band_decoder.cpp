#include "band_decoder.h"

#include <lz4.h>

#include <climits>
#include <cstring>

#include "sample_access.h"
#include "simple_logger.h"
#include "storage_types.h"

namespace qrdcvt {

namespace pb = qrd::pb::common;

namespace {

constexpr const char* lz4_failure = "LZ4 decompression failed";

// LZ4 counts in ints: a negative target or a source beyond INT_MAX can't be decoded.
DecodedBand decompress_lz4(const pb::DataBuffer& buffer) {
    const std::string& source = buffer.data();
    if (buffer.uncompressed_size() < 0 || source.size() > static_cast<std::size_t>(INT_MAX)) {
        return {{}, lz4_failure};
    }
    SampleBlock block = SampleBlock::allocate(static_cast<std::size_t>(buffer.uncompressed_size()));
    const int decoded =
        LZ4_decompress_safe(source.data(), reinterpret_cast<char*>(block.data()),
                            static_cast<int>(source.size()), static_cast<int>(block.size));
    if (decoded < 0) return {{}, lz4_failure};
    // A short block keeps its announced size; zero the rest rather than leak heap contents.
    std::memset(block.data() + decoded, 0, block.size - static_cast<std::size_t>(decoded));
    return {std::move(block), {}};
}

DecodedBand copy_uncompressed(const pb::DataBuffer& buffer) {
    const std::string& source = buffer.data();
    SampleBlock block = SampleBlock::allocate(source.size());
    std::memcpy(block.data(), source.data(), source.size());
    return {std::move(block), {}};
}

template <typename T, T (*swap)(T)>
void swap_elements(std::uint8_t* bytes, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) store_sample(bytes, i, swap(load_sample<T>(bytes, i)));
}

std::uint16_t swap16(std::uint16_t v) { return __builtin_bswap16(v); }
std::uint32_t swap32(std::uint32_t v) { return __builtin_bswap32(v); }
std::uint64_t swap64(std::uint64_t v) { return __builtin_bswap64(v); }

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

DecodedBand decode_buffer(const pb::DataBuffer& buffer) {
    DecodedBand decoded;
    switch (buffer.compression()) {
        case pb::LZ4:
            decoded = decompress_lz4(buffer);
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
