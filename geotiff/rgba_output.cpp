#include "rgba_output.h"

#include <tiff.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <limits>

#include "color_tables.h"
#include "float_conversions.h"
#include "sample_access.h"
#include "simple_logger.h"
#include "storage_types.h"
#include "value_range.h"

namespace qrdcvt {

namespace {

namespace pb = qrd::pb::common;
using corvane::rs::wr::log::SimpleLogger;
using Level = LogNote::Level;

SimpleLogger& logger() { return *SimpleLogger::getInstance(); }

constexpr std::array<std::uint8_t, 4> transparent_grey = {180, 180, 180, 0};
constexpr std::array<std::uint8_t, 4> transparent_black = {0, 0, 0, 0};

// Table entry 1 to 254 of a valid sample: the quotient truncated and clamped, worked out
// without a branch. A NaN quotient only comes from an infinite span over a difference that
// overflowed too, so it belongs at the top.
int table_entry(float value, float min, float span) {
    const float quotient = (value - min) / span * 254.0f;
    const float above_one = quotient < 1.0f ? 1.0f : quotient;
    const float bounded = ((quotient >= 254.0f) | std::isnan(quotient)) ? 254.0f : above_one;
    return static_cast<int>(bounded);
}

std::uint32_t as_pixel(const std::array<std::uint8_t, 4>& rgba) {
    std::uint32_t pixel;
    std::memcpy(&pixel, rgba.data(), sizeof pixel);
    return pixel;
}

// Whole pixels by table entry: entries 1 to 254 their opaque colours, and entry 0, which no
// valid sample takes, the transparent grey.
using PixelTable = std::array<std::uint32_t, 256>;

PixelTable pixel_table(const ColorTable& table) {
    PixelTable pixels;
    for (std::size_t k = 0; k < table.size(); ++k) {
        pixels[k] = as_pixel({table[k][0], table[k][1], table[k][2], 255});
    }
    pixels[0] = as_pixel(transparent_grey);
    return pixels;
}

// Colours count samples through pixels and gives the number of transparent ones. Chunk by
// chunk, the table entries come first in a loop without branches, which the compiler runs on
// several samples at once; the lookups follow.
std::size_t write_pixels(const std::uint8_t* samples, std::size_t count, const Float32Scale& codes,
                         float min, float span, const PixelTable& pixels, std::uint8_t* rgba) {
    constexpr std::size_t chunk = 4096;
    std::uint8_t entries[chunk];
    std::size_t transparent = 0;
    for (std::size_t start = 0; start < count; start += chunk) {
        const std::size_t length = std::min(chunk, count - start);
        for (std::size_t j = 0; j < length; ++j) {
            const float value = load_sample<float>(samples, start + j);
            const bool clear = !std::isfinite(value) | (value == codes.not_scanned) |
                               (value == codes.under_threshold);
            const int entry = table_entry(value, min, span);
            entries[j] = static_cast<std::uint8_t>(clear ? 0 : entry);
        }
        for (std::size_t j = 0; j < length; ++j) {
            store_sample<std::uint32_t>(rgba, start + j, pixels[entries[j]]);
            transparent += entries[j] == 0;
        }
    }
    return transparent;
}

// One component of three-channel data as a byte: infinite and out-of-range quotients clamp
// by sign; a NaN quotient (0 / 0, infinity minus infinity) gives 0.
std::uint8_t component_byte(float component, const Float32Scale& linear) {
    return static_cast<std::uint8_t>(
        truncate_into((component + linear.offset) / linear.step, 0, 255, 0));
}

void color_single_channel(const std::uint8_t* samples, std::size_t count, const Float32Scale& codes,
                          const ColorScaleChoice& colors, std::uint8_t* rgba) {
    logger().debug() << "Detected single-channel float data for RGB output (needs colormap)"
                     << std::endl;
    logger().info() << "Applying colormap conversion for RGB output" << std::endl;
    // No colour map is handed in: the ramp is where every run starts.
    logger().info() << "No colormap provided, generating grayscale ramp" << std::endl;
    ColorTable table = grey_ramp();

    // The special codes take part in the range here, unlike in palette output.
    constexpr float no_code = std::numeric_limits<float>::quiet_NaN();
    const ValueRange range = find_value_range(samples, count, no_code, no_code);
    logger().debug() << "Data stats: valid=" << range.valid_count
                     << ", nan/inf=" << count - range.valid_count << ", range=["
                     << static_cast<double>(range.min) << ", " << static_cast<double>(range.max)
                     << "]" << std::endl;
    float min = 0.0f;
    float max = 1.0f;
    float span = 1.0f;
    if (range.valid_count == 0) {
        logger().debug() << "All pixels are NaN - outputting transparent image" << std::endl;
    } else {
        min = range.min;
        max = range.max;
        span = range_span(range);
    }
    logger().debug() << "Using range [" << static_cast<double>(min) << ", "
                     << static_cast<double>(max) << "], range=" << static_cast<double>(span)
                     << std::endl;

    const ColorMapper* scale = colors.rgb;
    if (scale == nullptr) {
        logger().info() << "No color scale found, using grayscale colormap" << std::endl;
    } else {
        logger().debug() << "Building colormap with actual data values for instrument='"
                         << colors.instrument_name << "' product='" << colors.product_name << "'"
                         << std::endl;
        table = scale_color_table(
            *scale, [min, span](int k) { return static_cast<float>(k) / 254.0f * span + min; });
        logger().debug() << "Colormap built: index 0 -> nodata (grey), "
                         << "index 1 -> value " << static_cast<double>(min)
                         << ", index 254 -> value " << static_cast<double>(max)
                         << ", index 255 -> no echo (grey)" << std::endl;
    }

    const std::size_t transparent =
        write_pixels(samples, count, codes, min, span, pixel_table(table), rgba);
    logger().debug() << "Colormap applied: " << count - transparent << " opaque pixels, "
                     << transparent << " transparent pixels" << std::endl;
}

void scale_three_channels(const std::uint8_t* samples, std::size_t count,
                          const Float32Scale& linear, std::uint8_t* rgba) {
    logger().debug() << "Detected 3-channel RGB float data" << std::endl;
    for (std::size_t i = 0; i < count; ++i) {
        const float red = load_sample<float>(samples, 3 * i);
        const float green = load_sample<float>(samples, 3 * i + 1);
        const float blue = load_sample<float>(samples, 3 * i + 2);
        std::uint8_t* pixel = rgba + i * 4;
        if (std::isnan(red) || std::isnan(green) || std::isnan(blue) || red == linear.not_scanned ||
            green == linear.not_scanned || blue == linear.not_scanned) {
            std::copy(transparent_black.begin(), transparent_black.end(), pixel);
        } else {
            pixel[0] = component_byte(red, linear);
            pixel[1] = component_byte(green, linear);
            pixel[2] = component_byte(blue, linear);
            pixel[3] = 255;
        }
    }
}

// Colours FLOAT32 samples (one or three channels) into 4 RGBA bytes per pixel.
ConvertedBand convert_to_rgba(SampleBlock block, const BandFacts& facts) {
    const int storage_code = static_cast<int>(facts.storage_type);
    logger().debug() << "Converting from storage type " << storage_code
                     << " to UINT8 for RGB output" << std::endl;
    const Float32Scale linear = facts.scale.float32();
    if (facts.scale.has_linear_scale) {
        logger().debug() << "Using step=" << linear.step << ", offset=" << linear.offset
                         << ", nodata=" << linear.not_scanned
                         << ", under_threshold=" << linear.under_threshold << std::endl;
    }
    if (facts.storage_type != pb::FLOAT32) {
        return conversion_failure("Unsupported conversion from storage type " +
                                  std::to_string(storage_code) + " to UINT8 for RGB");
    }
    const std::uint64_t pixel_count = facts.pixel_count;
    const bool single_channel = holds_samples(block.size, pixel_count, sizeof(float));
    if (!single_channel && !holds_samples(block.size, pixel_count, 3 * sizeof(float))) {
        return conversion_failure("Unexpected data size for RGB: " + std::to_string(block.size) +
                                  " bytes (expected " +
                                  std::to_string(pixel_count * sizeof(float)) + " or " +
                                  std::to_string(pixel_count * 3 * sizeof(float)) + ")");
    }

    SampleBlock rgba = SampleBlock::allocate(pixel_count * 4);
    if (single_channel) {
        color_single_channel(block.data(), pixel_count, linear, facts.colors, rgba.data());
    } else {
        scale_three_channels(block.data(), pixel_count, linear, rgba.data());
    }
    logger().info() << "RGB conversion completed: " << rgba.size << " bytes" << std::endl;
    return {std::move(rgba), {}, {}, {}};
}

}  // namespace

BandPlan plan_rgb(const BandFacts& facts) {
    BandPlan plan;
    plan.layout.photometric = PHOTOMETRIC_RGB;
    plan.layout.samples_per_pixel = 4;
    plan.layout.alpha = true;
    plan.layout_notes = {
        {Level::INFO, "Using RGB color type with alpha channel"},
        {Level::DEBUG, "RGBA mode: transparency handled via alpha channel (no GDAL nodata)"}};
    const StorageTypeInfo* storage = storage_type_info(facts.storage_type);
    const std::uint64_t channel_bytes = storage != nullptr ? 3 * storage->bytes_per_sample : 0;
    plan.decoded_size = {0, std::max<std::uint64_t>(4, channel_bytes)};
    if (facts.storage_type == pb::UINT8) {
        plan.convert = keep_samples;  // RGBA bytes as they come
        return plan;
    }
    plan.storage_note = non_uint8_note(facts.storage_type);
    plan.convert = convert_to_rgba;
    plan.metadata_level = Level::INFO;
    return plan;
}

}  // namespace qrdcvt
