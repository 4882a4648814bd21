#pragma once

#include <tiffio.h>

#include <cstdint>

#include "band_layout.h"
#include "output_options.h"

namespace qrdcvt {

// How libtiff and GDAL name a compression.
struct Codec {
    Compression compression;
    std::uint16_t tiff_code;  // TIFF Compression tag value
    const char* gdal_name;    // GDAL's COMPRESS creation option
};

const Codec& codec_of(Compression compression);

// The TIFF Predictor for a band: the configured one where its samples take it, else the one
// that pays for them: 3 for float samples, 2 for integer ones. Floating-point differencing (3) only
// suits float samples: integer ones get horizontal differencing (2) instead.
int predictor_for(const OutputOptions& options, const BandLayout& layout);

// Compression, predictor and level tags of the current directory. Nothing is set without
// compression, so that the default file keeps its bytes.
void set_compression_tags(TIFF* tiff, const OutputOptions& options, const BandLayout& layout);

}  // namespace qrdcvt
