#include "value_layouts.h"

#include <cstdio>

#include "linear_scale.h"
#include "simple_logger.h"
#include "storage_types.h"

namespace qrdcvt {

namespace {

using corvane::rs::wr::log::SimpleLogger;

BandLayout layout_with_nodata(std::uint8_t bytes_per_sample, const char* nodata) {
    BandLayout layout;
    layout.bytes_per_sample = bytes_per_sample;
    std::snprintf(layout.nodata, sizeof layout.nodata, "%s", nodata);
    layout.has_nodata = true;
    return layout;
}

void set_float_samples(TIFF* tiff) {
    TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISBLACK);
    TIFFSetField(tiff, TIFFTAG_SAMPLEFORMAT, sample_format_float);
}

}  // namespace

BandLayout single_band_layout(TIFF* tiff) {
    auto& log = *SimpleLogger::getInstance();
    log.info() << "Single-band mode: outputting Float64 scientific values" << std::endl;
    set_float_samples(tiff);
    log.debug() << "Single-band: Setting GDAL NoData to NaN" << std::endl;
    return layout_with_nodata(8, "nan");
}

BandLayout float_layout(TIFF* tiff) {
    set_float_samples(tiff);
    SimpleLogger::getInstance()->debug() << "Setting GDAL NoData: NaN (float)" << std::endl;
    return layout_with_nodata(4, "nan");
}

BandLayout grayscale_layout(TIFF* tiff, bool float_storage,
                            const qrd::pb::common::RasterData& band) {
    auto& log = *SimpleLogger::getInstance();
    log.info() << "Using grayscale color type" << std::endl;
    TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISBLACK);
    if (float_storage) {
        log.debug() << "Setting GDAL NoData: nan (float data)" << std::endl;
        return layout_with_nodata(1, "nan");
    }
    if (const auto code = not_scanned_code(band)) {
        char text[64];
        std::snprintf(text, sizeof text, "%d", *code);
        log.debug() << "Setting GDAL NoData from descriptor: " << *code << " (grayscale)"
                    << std::endl;
        return layout_with_nodata(1, text);
    }
    log.debug() << "No nodata set for integer grayscale (no descriptor available)" << std::endl;
    return BandLayout{};
}

}  // namespace qrdcvt
