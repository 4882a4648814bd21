#pragma once

#include <tiffio.h>

#include <cstdint>
#include <optional>
#include <string>

#include "band_layout.h"
#include "color_mapper.h"
#include "color_type.h"
#include "radar.pb.h"
#include "sample_block.h"

namespace qrdcvt {

// What a directory's pixels hold. Single-band mode overrides the colour type.
enum class OutputMode { SINGLE_BAND, GRAYSCALE, PALETTE, RGB, FLOAT };

// Nothing for a colour type this program doesn't know.
std::optional<OutputMode> output_mode(bool single_band, ColorType color_type);

// One band being written, with what its conversion needs from the run.
struct BandContext {
    const qrd::pb::common::Product& product;
    const qrd::pb::common::RasterData& band;
    qrd::pb::common::StorageType storage_type;  // of the band's first buffer
    std::uint32_t width;
    std::uint32_t height;
    TIFF* tiff;
    const std::string& instrument_name;
    const std::string& product_name;
    const ColorMapper* palette_scale;  // the palette run's scale; may be null
    ColorTable& color_table;
};

// The mode's layout, with its photometric (and sample-format) tags set.
BandLayout choose_layout(OutputMode mode, const BandContext& context);

// Lets the storage type set the sample format and size of grayscale and float output;
// palette and RGB keep their bytes, single-band its doubles. False for an unknown type.
bool apply_storage_type(OutputMode mode, const BandContext& context, BandLayout& layout);

// Bytes of decoded samples that the mode's own conversion reads without checking the size;
// a shorter block must be refused before convert_samples runs.
std::uint64_t conversion_input_bytes(OutputMode mode, const BandContext& context);

// Bytes of the largest decoded block that the mode takes for this image: three channels of
// samples for RGB, one for the others; 0 for an unknown type.
std::uint64_t largest_input_bytes(OutputMode mode, const BandContext& context);

// The mode's conversion of the decoded block and, on the paths that carry it, the
// GDAL_METADATA tag. An empty block means failure, already logged.
SampleBlock convert_samples(OutputMode mode, SampleBlock block, const BandContext& context);

}  // namespace qrdcvt
