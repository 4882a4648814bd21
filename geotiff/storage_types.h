#pragma once

#include <cstdint>

#include "radar.pb.h"

namespace qrdcvt {

// TIFF SampleFormat values.
constexpr std::uint16_t sample_format_unsigned = 1;
constexpr std::uint16_t sample_format_signed = 2;
constexpr std::uint16_t sample_format_float = 3;

// What a storage type means to every step: decoding, layouts, conversions.
struct StorageTypeInfo {
    std::uint8_t bytes_per_sample;  // also the byte-swap element size
    bool is_float;
    std::uint16_t sample_format;  // as stored; 0 leaves the mode's own format
    bool converts_to_float64;     // single-band mode can scale it to physical values
};

// The entry of the known storage types UINT8 to FLOAT64; null for any other code.
const StorageTypeInfo* storage_type_info(qrd::pb::common::StorageType type);

}  // namespace qrdcvt
