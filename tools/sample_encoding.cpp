#include "sample_encoding.h"

#include <lz4.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <type_traits>

#include "sample_field.h"

namespace radmill_sample {

namespace {

namespace pb = qrd::pb::common;

template <typename T>
T to_sample(float value, const pb::LinearScale& scale) {
    if (value == no_echo) return static_cast<T>(scale.under_threshold());
    if constexpr (std::is_floating_point_v<T>) {
        return static_cast<T>(value);
    } else {
        if (std::isnan(value)) return static_cast<T>(scale.not_scanned());
        // Data codes lie strictly between the two reserved ones.
        const double code = std::round((value - scale.offset()) / scale.step());
        return static_cast<T>(
            std::clamp(code, scale.under_threshold() + 1.0, scale.not_scanned() - 1.0));
    }
}

// The host is little-endian, so samples are copied as they lie in memory.
template <typename T>
std::string encode_as(const std::vector<float>& field, const pb::LinearScale& scale) {
    std::string bytes(field.size() * sizeof(T), '\0');
    char* out = bytes.data();
    for (const float value : field) {
        const T sample = to_sample<T>(value, scale);
        std::memcpy(out, &sample, sizeof(T));
        out += sizeof(T);
    }
    return bytes;
}

void swap_bytes(std::string& samples, std::size_t size) {
    for (std::size_t at = 0; at + size <= samples.size(); at += size) {
        std::reverse(samples.begin() + at, samples.begin() + at + size);
    }
}

std::string lz4_block(const std::string& samples) {
    if (samples.size() > LZ4_MAX_INPUT_SIZE) {
        throw std::runtime_error("band too large for one LZ4 block");
    }
    const int size = static_cast<int>(samples.size());
    std::string block(LZ4_compressBound(size), '\0');
    const int compressed =
        LZ4_compress_default(samples.data(), block.data(), size, static_cast<int>(block.size()));
    if (compressed <= 0) throw std::runtime_error("LZ4 compression failed");
    block.resize(compressed);
    return block;
}

}  // namespace

std::string encode_samples(const std::vector<float>& field, pb::StorageType storage_type,
                           const pb::LinearScale& scale) {
    switch (storage_type) {
        case pb::UINT8:
            return encode_as<std::uint8_t>(field, scale);
        case pb::UINT16:
            return encode_as<std::uint16_t>(field, scale);
        case pb::INT32:
            return encode_as<std::int32_t>(field, scale);
        case pb::INT64:
            return encode_as<std::int64_t>(field, scale);
        case pb::FLOAT64:
            return encode_as<double>(field, scale);
        default:
            return encode_as<float>(field, scale);
    }
}

std::size_t sample_size(pb::StorageType storage_type) {
    switch (storage_type) {
        case pb::UINT8:
            return 1;
        case pb::UINT16:
            return 2;
        case pb::INT64:
        case pb::FLOAT64:
            return 8;
        default:
            return 4;
    }
}

pb::DataBuffer make_data_buffer(std::string samples, pb::StorageType storage_type,
                                pb::Compression compression, pb::Endianness endianness) {
    if (endianness == pb::BIG) swap_bytes(samples, sample_size(storage_type));
    pb::DataBuffer buffer;
    buffer.set_storage_type(storage_type);
    buffer.set_endianness(endianness);
    buffer.set_compression(compression);
    if (compression == pb::LZ4) {
        buffer.set_uncompressed_size(static_cast<std::int32_t>(samples.size()));
        buffer.set_data(lz4_block(samples));
    } else {
        buffer.set_data(std::move(samples));
    }
    return buffer;
}

}  // namespace radmill_sample
