#include "tiff_tags.h"

#include <algorithm>
#include <array>

#include "simple_logger.h"

namespace qrdcvt {

namespace {

// Without a pass count each tag is set from one NUL-terminated string.
TIFFFieldInfo gdal_field_info[] = {
    {tifftag_gdal_metadata, TIFF_VARIABLE, TIFF_VARIABLE, TIFF_ASCII, FIELD_CUSTOM, 1, 0,
     const_cast<char*>("GDALMetadata")},
    {tifftag_gdal_nodata, TIFF_VARIABLE, TIFF_VARIABLE, TIFF_ASCII, FIELD_CUSTOM, 1, 0,
     const_cast<char*>("GDALNoDataValue")},
};

constexpr std::uint32_t max_strip_pixels = 30000;

// An ASCII tag ends at its first NUL byte: a name from the product that holds one would cut
// the text short (and the metadata XML open), so NUL bytes are dropped.
void set_text_tag(TIFF* tiff, ttag_t tag, std::string text) {
    text.erase(std::remove(text.begin(), text.end(), '\0'), text.end());
    TIFFSetField(tiff, tag, text.c_str());
}

}  // namespace

void register_gdal_tags(TIFF* tiff) { TIFFMergeFieldInfo(tiff, gdal_field_info, 2); }

bool needs_bigtiff(std::uint64_t image_bytes, int directories) {
    constexpr std::uint64_t classic_limit = 0xFFFFFFFFu;
    // Strip offsets and sizes take 8 bytes a strip of at least 30000 pixels; the texts, keys and
    // colour map of a directory stay well within a mebibyte.
    const std::uint64_t tags =
        image_bytes / 1024 + static_cast<std::uint64_t>(directories) * (1u << 20);
    return image_bytes > classic_limit || tags > classic_limit - image_bytes;
}

std::uint32_t rows_per_strip(std::uint32_t width, std::uint32_t height) {
    return std::max<std::uint32_t>(1, std::min(height, max_strip_pixels / width));
}

void set_directory_tags(TIFF* tiff, const std::string& software, const std::string& description,
                        const std::string& date_time, std::uint32_t width, std::uint32_t height) {
    set_text_tag(tiff, TIFFTAG_SOFTWARE, software);
    set_text_tag(tiff, TIFFTAG_IMAGEDESCRIPTION, description);
    set_text_tag(tiff, TIFFTAG_DATETIME, date_time);
    TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, width);
    TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, height);
    TIFFSetField(tiff, TIFFTAG_COMPRESSION, COMPRESSION_NONE);
    TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tiff, TIFFTAG_ORIENTATION, ORIENTATION_TOPLEFT);
    TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, rows_per_strip(width, height));
}

void set_layout_tags(TIFF* tiff, const BandLayout& layout) {
    TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, layout.photometric);
    if (layout.sample_format != 0) TIFFSetField(tiff, TIFFTAG_SAMPLEFORMAT, layout.sample_format);
    if (layout.alpha) {
        const std::uint16_t alpha_kind = EXTRASAMPLE_UNASSALPHA;
        TIFFSetField(tiff, TIFFTAG_EXTRASAMPLES, 1, &alpha_kind);
    }
    TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, 8 * layout.bytes_per_sample);
    TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, layout.samples_per_pixel);
    if (!layout.has_nodata) return;
    TIFFSetField(tiff, tifftag_gdal_nodata, layout.nodata);
    corvane::rs::wr::log::SimpleLogger::getInstance()->debug()
        << "GDAL_NODATA tag set to: " << layout.nodata << std::endl;
}

void set_color_map(TIFF* tiff, const ColorTable& color_table) {
    // TIFF colour maps hold 16-bit components; 257 maps 0..255 onto 0..65535 exactly.
    std::array<std::uint16_t, 256> red;
    std::array<std::uint16_t, 256> green;
    std::array<std::uint16_t, 256> blue;
    for (std::size_t i = 0; i < color_table.size(); ++i) {
        red[i] = static_cast<std::uint16_t>(color_table[i][0] * 257);
        green[i] = static_cast<std::uint16_t>(color_table[i][1] * 257);
        blue[i] = static_cast<std::uint16_t>(color_table[i][2] * 257);
    }
    TIFFSetField(tiff, TIFFTAG_COLORMAP, red.data(), green.data(), blue.data());
}

void set_gdal_metadata(TIFF* tiff, const std::string& xml) {
    set_text_tag(tiff, tifftag_gdal_metadata, xml);
}

}  // namespace qrdcvt
