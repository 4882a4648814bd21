#pragma once

#include <cstdint>

#include "band_layout.h"
#include "radar.pb.h"
#include "sample_block.h"

namespace qrdcvt {

// Physical values raw x step + offset as FLOAT64, NaN where the code is not_scanned (or a
// FLOAT32 sample isn't finite). A FLOAT64 block is handed back as stored. Takes the raw
// block over; returns width x height doubles, or an empty block for an unsupported type.
SampleBlock to_float64_band(SampleBlock block, qrd::pb::common::StorageType storage_type,
                            const qrd::pb::common::RasterData& band, std::uint32_t width,
                            std::uint32_t height);

// Whether to_float64_band takes blocks of this storage type.
bool converts_to_float64(qrd::pb::common::StorageType storage_type);

// Statistics of count doubles: NaN and infinities are not valid, every other value is.
BandStatistics single_band_statistics(const std::uint8_t* values, std::uint64_t count);

}  // namespace qrdcvt
