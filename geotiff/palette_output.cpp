#include "palette_output.h"

#include <array>
#include <cmath>

#include "band_scale_values.h"
#include "color_lookup.h"
#include "color_tables.h"
#include "float_samples.h"
#include "sample_access.h"
#include "simple_logger.h"
#include "value_range.h"

namespace qrdcvt {

namespace {

namespace pb = qrd::pb::common;
using corvane::rs::wr::log::SimpleLogger;

SimpleLogger& logger() { return *SimpleLogger::getInstance(); }

// Index 1 to 254 of a valid sample: roundf(quotient) + 1, clamped, without a call to roundf.
// From 0.5 up to 252.5, quotient + 0.5 is exact enough that truncating it rounds half away
// from zero; below that the index is 1, above it 254. A NaN quotient only comes from an
// infinite span over a difference that overflowed too, so it belongs at the top.
int data_index(float value, float min, float span) {
    const float quotient = (value - min) / span * 253.0f;
    const float half_up = quotient + 0.5f;
    const float in_range = quotient >= 0.5f ? half_up : 0.5f;
    const float bounded = (quotient >= 252.5f) | std::isnan(quotient) ? 253.5f : in_range;
    return static_cast<int>(bounded) + 1;
}

// Each sample's index is worked out whole and then chosen without a branch, so that the
// compiler can run the loop on several samples at once.
void write_indices(const std::uint8_t* samples, std::size_t count, const BandScaleValues& codes,
                   float min, float span, std::uint8_t* indices) {
    for (std::size_t i = 0; i < count; ++i) {
        const float value = load_sample<float>(samples, i);
        const int data = data_index(value, min, span);
        const int code = value == codes.under_threshold ? 255 : data;
        const bool no_data = !std::isfinite(value) | (value == codes.not_scanned);
        indices[i] = static_cast<std::uint8_t>(no_data ? 0 : code);
    }
}

}  // namespace

const ColorMapper* find_palette_scale(const std::string& instrument_name,
                                      const std::string& product_name) {
    const ColorMapper* scale = find_color_mapper(instrument_name, product_name, false);
    if (scale == nullptr) scale = find_color_mapper(instrument_name, product_name, true);
    logger().debug() << "Using color palette color type" << std::endl;
    if (scale != nullptr) {
        logger().debug() << "Using color scale for instrument='" << instrument_name << "' product='"
                         << product_name << "'" << std::endl;
    } else {
        logger().debug() << "No color scale found for instrument='" << instrument_name
                         << "' product='" << product_name << "', using default grayscale"
                         << std::endl;
    }
    return scale;
}

BandLayout palette_layout(TIFF* tiff) {
    TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_PALETTE);
    BandLayout layout;
    layout.samples_per_pixel = 1;
    layout.bytes_per_sample = 1;
    layout.has_nodata = false;
    return layout;
}

SampleBlock convert_to_palette(SampleBlock block, pb::StorageType storage_type,
                               const pb::RasterData& band, std::uint32_t width,
                               std::uint32_t height, ColorTable& color_table,
                               const ColorMapper* scale, TIFF* tiff) {
    logger().debug() << "Converting from storage type " << static_cast<int>(storage_type)
                     << " to UINT8 for palette output" << std::endl;
    const BandScaleValues codes = band_scale_values(band);
    if (codes.has_linear_scale) {
        logger().debug() << "Palette: not_scanned=" << codes.not_scanned
                         << ", under_threshold=" << codes.under_threshold << std::endl;
    }
    if (storage_type != pb::FLOAT32) {
        logger().error() << "Unsupported conversion from storage type "
                         << static_cast<int>(storage_type) << " to UINT8 for palette" << std::endl;
        return {};
    }
    const std::uint64_t pixel_count = std::uint64_t{width} * height;
    if (!holds_samples(block.size, pixel_count, sizeof(float))) {
        logger().error() << "Float data size mismatch: expected " << pixel_count * sizeof(float)
                         << " bytes, got " << block.size << " bytes" << std::endl;
        return {};
    }

    const ValueRange range =
        find_value_range(block.data(), pixel_count, codes.not_scanned, codes.under_threshold);
    const float min = range.min;
    const float span = range_span(range);
    logger().debug() << "Palette data range: [" << static_cast<double>(min) << ", "
                     << static_cast<double>(range.max) << "], mapping to indices [1, 254]"
                     << std::endl;

    if (scale != nullptr) {
        color_table = scale_color_table(
            *scale, [min, span](int k) { return static_cast<float>(k - 1) / 253.0f * span + min; });
        logger().debug() << "Palette colormap built: index 0 -> nodata (grey), "
                         << "index 1 -> value " << static_cast<double>(min)
                         << ", index 254 -> value " << static_cast<double>(range.max)
                         << ", index 255 -> no echo (grey)" << std::endl;
    } else {
        color_table = grey_palette();
        logger().debug() << "No palette color scale, using grayscale colormap" << std::endl;
    }
    set_tiff_colormap(tiff, color_table);

    SampleBlock indices = SampleBlock::allocate(pixel_count);
    write_indices(block.data(), pixel_count, codes, min, span, indices.data());
    logger().info() << "Palette conversion completed: " << pixel_count << " bytes" << std::endl;
    return indices;
}

void set_tiff_colormap(TIFF* tiff, const ColorTable& color_table) {
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

void write_uint8_palette_colormap(TIFF* tiff, const pb::RasterData& band, const ColorMapper* scale,
                                  ColorTable& color_table) {
    const BandScaleValues codes = band_scale_values(band);
    if (scale != nullptr && codes.has_linear_scale) {
        const auto physical_value = [&codes](int k) {
            return static_cast<float>(k) * codes.step + codes.offset;
        };
        color_table = scale_color_table(*scale, physical_value);
        logger().debug() << "Palette colormap built for UINT8 data: index 1 -> value "
                         << static_cast<double>(physical_value(1)) << ", index 254 -> value "
                         << static_cast<double>(physical_value(254)) << std::endl;
    } else {
        color_table = grey_palette();
        logger().debug() << (scale == nullptr
                                 ? "No palette color scale, using grayscale colormap"
                                 : "No linear scale for UINT8 palette data, using grayscale "
                                   "colormap")
                         << std::endl;
    }
    set_tiff_colormap(tiff, color_table);
}

}  // namespace qrdcvt
