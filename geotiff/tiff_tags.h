#pragma once

#include <tiffio.h>

#include <cstdint>
#include <string>

#include "band_layout.h"

namespace qrdcvt {

// GDAL's private ASCII tags.
constexpr ttag_t tifftag_gdal_metadata = 42112;
constexpr ttag_t tifftag_gdal_nodata = 42113;

// Makes the two GDAL tags known to libtiff for the current directory. libtiff forgets
// merged tags whenever it sets up a new directory, so call it again after each one.
void register_gdal_tags(TIFF* tiff);

// Whether a file of directories directories whose strips take image_bytes in all needs
// BigTIFF: classic TIFF addresses 4 GiB, and a margin covers every directory's tags.
bool needs_bigtiff(std::uint64_t image_bytes, int directories);

// Rows per strip: as many as fit 30000 pixels, at least one, at most the height.
std::uint32_t rows_per_strip(std::uint32_t width, std::uint32_t height);

// Descriptive texts and the uncompressed, contiguous, top-left, stripped layout.
void set_directory_tags(TIFF* tiff, const std::string& software, const std::string& description,
                        const std::string& date_time, std::uint32_t width, std::uint32_t height);

// Every pixel tag of the layout, and GDAL_NODATA when it has nodata.
void set_layout_tags(TIFF* tiff, const BandLayout& layout);

// The ColorMap tag (each component times 257). libtiff copies 2^BitsPerSample entries, so
// BitsPerSample must already be 8.
void set_color_map(TIFF* tiff, const ColorTable& color_table);

void set_gdal_metadata(TIFF* tiff, const std::string& xml);

}  // namespace qrdcvt
