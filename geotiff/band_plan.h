#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "band_layout.h"
#include "band_scale.h"
#include "color_lookup.h"
#include "color_type.h"
#include "log_note.h"
#include "radar.pb.h"
#include "sample_block.h"

namespace qrdcvt {

// What a directory's pixels hold. Single-band mode overrides the colour type.
enum class OutputMode { SINGLE_BAND, GRAYSCALE, PALETTE, RGB, FLOAT };

OutputMode output_mode(bool single_band, ColorType color_type);

// What a band's plan and its conversion need of the band and the run.
struct BandFacts {
    qrd::pb::common::StorageType storage_type;  // of the band's first buffer
    std::uint64_t pixel_count;
    const BandScale& scale;
    const ColorScaleChoice& colors;
};

// What a conversion hands back: the samples to write, or the error line that ends the run.
struct ConvertedBand {
    SampleBlock block;
    std::string error;
    std::optional<BandStatistics> statistics;  // goes into the band's GDAL metadata
    std::optional<ColorTable> color_map;       // written as the ColorMap tag
};

inline ConvertedBand conversion_failure(std::string error) {
    return {{}, std::move(error), {}, {}};
}

using Conversion = ConvertedBand (*)(SampleBlock block, const BandFacts& facts);

// Bytes per pixel of the decoded block that a plan accepts.
struct DecodedSize {
    std::uint64_t least;  // what the conversion reads without checking; shorter is refused
    std::uint64_t most;   // the largest block the mode takes (bounds an LZ4 size claim)
};

// Everything the driver does with one band, decided before any of it is done.
struct BandPlan {
    BandLayout layout;
    std::vector<LogNote> layout_notes;    // logged as the layout is set
    std::optional<LogNote> storage_note;  // logged once the georeference is written
    std::string error;  // a storage type the mode can't write: ends the run at that point
    DecodedSize decoded_size;
    Conversion convert;
    // When set, the GDAL metadata is written after the conversion and its count logged here.
    std::optional<LogNote::Level> metadata_level;
};

// The plan of one band; pure: no TIFF handle, no logging.
BandPlan plan_band(OutputMode mode, const BandFacts& facts);

// A conversion that hands the decoded samples back as they are.
ConvertedBand keep_samples(SampleBlock block, const BandFacts& facts);

// The note of palette and RGB output over samples that are not bytes already.
LogNote non_uint8_note(qrd::pb::common::StorageType storage_type);

}  // namespace qrdcvt
