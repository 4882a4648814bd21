#pragma once

#include <tiffio.h>

#include <cstdint>
#include <string>

#include "band_layout.h"
#include "color_mapper.h"
#include "radar.pb.h"
#include "sample_block.h"

namespace qrdcvt {

// The palette run's colour scale: RGB family first, then the palette family; logs the choice.
const ColorMapper* find_palette_scale(const std::string& instrument_name,
                                      const std::string& product_name);

// Sets the palette photometric interpretation: one 8-bit index per pixel, no nodata.
BandLayout palette_layout(TIFF* tiff);

// Maps FLOAT32 samples to indices 0 to 255, fills color_table and writes the ColorMap tag.
// Takes the block over; returns width x height index bytes, or an empty block on failure.
SampleBlock convert_to_palette(SampleBlock block, qrd::pb::common::StorageType storage_type,
                               const qrd::pb::common::RasterData& band, std::uint32_t width,
                               std::uint32_t height, ColorTable& color_table,
                               const ColorMapper* scale, TIFF* tiff);

// Writes color_table as the ColorMap tag (each component times 257). libtiff copies
// 2^BitsPerSample entries, so BitsPerSample must already be 8.
void set_tiff_colormap(TIFF* tiff, const ColorTable& color_table);

// Fills color_table for a UINT8 band, whose bytes are already the indices, and writes it as
// the ColorMap tag: index k stands for the physical value of raw code k when the band has a
// linear scale and a scale is given, else the grey palette serves.
void write_uint8_palette_colormap(TIFF* tiff, const qrd::pb::common::RasterData& band,
                                  const ColorMapper* scale, ColorTable& color_table);

}  // namespace qrdcvt
