#pragma once

#include <cstdint>
#include <optional>

#include "radar.pb.h"

namespace qrdcvt {

// TIFF SampleFormat values.
constexpr std::uint16_t sample_format_unsigned = 1;
constexpr std::uint16_t sample_format_signed = 2;
constexpr std::uint16_t sample_format_float = 3;

// What a storage type means for the TIFF directory and for byte swapping.
struct StorageTypeInfo {
    std::uint8_t bytes_per_sample;  // also the byte-swap element size
    std::uint16_t sample_format;    // 0: left as the colour-type step set it
};

// The known storage types UINT8 to FLOAT64; nothing for any other code.
std::optional<StorageTypeInfo> storage_type_info(qrd::pb::common::StorageType type);

bool is_float_storage(qrd::pb::common::StorageType type);

}  // namespace qrdcvt
