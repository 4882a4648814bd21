#pragma once

#include <cfloat>
#include <cstdint>

#include "band_layout.h"
#include "radar.pb.h"
#include "sample_block.h"

namespace qrdcvt {

// Float samples at or below -0.99 x FLT_MAX are fill values of the radar software, not data.
constexpr double invalid_float_threshold = -0.99 * static_cast<double>(FLT_MAX);

// Bytes of a float-mode output sample: the float storage types keep theirs, UINT8 and
// UINT16 become FLOAT32, INT32 and INT64 FLOAT64 (exact or nearly so); 0 for other codes.
std::uint8_t float_sample_bytes(qrd::pb::common::StorageType storage_type);

// Overwrites NaN, infinite and fill samples of a FLOAT32 (or, for that storage type,
// FLOAT64) block of width x height samples with the quiet NaN, and gives the statistics of
// the others.
BandStatistics clean_float_band(std::uint8_t* samples, qrd::pb::common::StorageType storage_type,
                                std::uint32_t width, std::uint32_t height);

struct FloatBand {
    SampleBlock block;  // empty for a storage type that isn't an integer one
    BandStatistics statistics;
};

// Float mode over integer codes: the exact floating-point value of every code, NaN for the
// band's not_scanned code, and the statistics of the others. Releases the raw block.
FloatBand integers_to_float_band(SampleBlock raw, qrd::pb::common::StorageType storage_type,
                                 const qrd::pb::common::RasterData& band, std::uint32_t width,
                                 std::uint32_t height);

}  // namespace qrdcvt
