#include "tiff_tags.h"

#include <algorithm>

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

}  // namespace

void register_gdal_tags(TIFF* tiff) { TIFFMergeFieldInfo(tiff, gdal_field_info, 2); }

std::uint32_t rows_per_strip(std::uint32_t width, std::uint32_t height) {
    return std::max<std::uint32_t>(1, std::min(height, max_strip_pixels / width));
}

void set_directory_tags(TIFF* tiff, const std::string& software, const std::string& description,
                        const std::string& date_time, std::uint32_t width, std::uint32_t height) {
    TIFFSetField(tiff, TIFFTAG_SOFTWARE, software.c_str());
    TIFFSetField(tiff, TIFFTAG_IMAGEDESCRIPTION, description.c_str());
    TIFFSetField(tiff, TIFFTAG_DATETIME, date_time.c_str());
    TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, width);
    TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, height);
    TIFFSetField(tiff, TIFFTAG_COMPRESSION, COMPRESSION_NONE);
    TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tiff, TIFFTAG_ORIENTATION, ORIENTATION_TOPLEFT);
    TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, rows_per_strip(width, height));
}

void set_layout_tags(TIFF* tiff, const BandLayout& layout) {
    TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, 8 * layout.bytes_per_sample);
    TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, layout.samples_per_pixel);
    if (!layout.has_nodata) return;
    TIFFSetField(tiff, tifftag_gdal_nodata, layout.nodata);
    corvane::rs::wr::log::SimpleLogger::getInstance()->debug()
        << "GDAL_NODATA tag set to: " << layout.nodata << std::endl;
}

void set_sample_format(TIFF* tiff, std::uint16_t sample_format, std::uint8_t bytes_per_sample) {
    if (sample_format != 0) TIFFSetField(tiff, TIFFTAG_SAMPLEFORMAT, sample_format);
    TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, 8 * bytes_per_sample);
}

void set_gdal_metadata(TIFF* tiff, const std::string& xml) {
    TIFFSetField(tiff, tifftag_gdal_metadata, xml.c_str());
}

}  // namespace qrdcvt
