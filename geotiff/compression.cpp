#include "compression.h"

namespace qrdcvt {

namespace {

constexpr std::uint16_t float_samples = SAMPLEFORMAT_IEEEFP;

std::uint16_t tiff_compression(Compression compression) {
    switch (compression) {
        case Compression::DEFLATE:
            return COMPRESSION_ADOBE_DEFLATE;
        case Compression::LZW:
            return COMPRESSION_LZW;
        case Compression::ZSTD:
            return COMPRESSION_ZSTD;
        case Compression::NONE:
            break;
    }
    return COMPRESSION_NONE;
}

}  // namespace

int predictor_for(const OutputOptions& options, const BandLayout& layout) {
    const bool float_band = layout.sample_format == float_samples;
    if (options.predictor == PREDICTOR_FLOATINGPOINT && !float_band) return PREDICTOR_HORIZONTAL;
    if (options.predictor != 0) return options.predictor;
    // Measured on radar products: differencing pays in every mode, palette indices too (their
    // colour scales run in value order), floats most with their own predictor.
    return float_band ? PREDICTOR_FLOATINGPOINT : PREDICTOR_HORIZONTAL;
}

void set_compression_tags(TIFF* tiff, const OutputOptions& options, const BandLayout& layout) {
    if (options.compression == Compression::NONE) return;
    TIFFSetField(tiff, TIFFTAG_COMPRESSION, tiff_compression(options.compression));
    TIFFSetField(tiff, TIFFTAG_PREDICTOR, predictor_for(options, layout));
    if (options.compress_level == 0) return;
    if (options.compression == Compression::DEFLATE) {
        TIFFSetField(tiff, TIFFTAG_ZIPQUALITY, options.compress_level);
    } else if (options.compression == Compression::ZSTD) {
        TIFFSetField(tiff, TIFFTAG_ZSTD_LEVEL, options.compress_level);
    }
}

}  // namespace qrdcvt
