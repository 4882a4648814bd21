#include "compression.h"

namespace qrdcvt {

namespace {

constexpr std::uint16_t float_samples = SAMPLEFORMAT_IEEEFP;

constexpr Codec codecs[] = {{Compression::NONE, COMPRESSION_NONE, "NONE"},
                            {Compression::DEFLATE, COMPRESSION_ADOBE_DEFLATE, "DEFLATE"},
                            {Compression::LZW, COMPRESSION_LZW, "LZW"},
                            {Compression::ZSTD, COMPRESSION_ZSTD, "ZSTD"}};

}  // namespace

const Codec& codec_of(Compression compression) {
    for (const Codec& codec : codecs) {
        if (codec.compression == compression) return codec;
    }
    return codecs[0];
}

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
    TIFFSetField(tiff, TIFFTAG_COMPRESSION, codec_of(options.compression).tiff_code);
    TIFFSetField(tiff, TIFFTAG_PREDICTOR, predictor_for(options, layout));
    if (options.compress_level == 0) return;
    if (options.compression == Compression::DEFLATE) {
        TIFFSetField(tiff, TIFFTAG_ZIPQUALITY, options.compress_level);
    } else if (options.compression == Compression::ZSTD) {
        TIFFSetField(tiff, TIFFTAG_ZSTD_LEVEL, options.compress_level);
    }
}

}  // namespace qrdcvt
