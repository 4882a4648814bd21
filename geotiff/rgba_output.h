#pragma once

#include <tiffio.h>

#include <cstdint>
#include <string>

#include "band_layout.h"
#include "radar.pb.h"
#include "sample_block.h"

namespace qrdcvt {

// Sets RGB photometric interpretation with one unassociated alpha sample; logs the choice.
BandLayout rgba_layout(TIFF* tiff);

// Colours FLOAT32 samples (one or three channels) into RGBA bytes. Takes the block over;
// returns width x height x 4 bytes, or an empty block on failure.
SampleBlock convert_to_rgba(SampleBlock block, qrd::pb::common::StorageType storage_type,
                            const qrd::pb::common::RasterData& band, std::uint32_t width,
                            std::uint32_t height, const std::string& instrument_name,
                            const std::string& product_name, const ColorTable& color_table);

}  // namespace qrdcvt
