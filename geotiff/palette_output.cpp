#include "palette_output.h"

#include <tiff.h>

#include <algorithm>
#include <array>
#include <cmath>

#include "color_tables.h"
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

// Index 1 to 254 of a valid sample: roundf(quotient) + 1, clamped, without a call to roundf.
// From 0.5 up to 252.5, quotient + 0.5 is exact enough that truncating it rounds half away
// from zero; below that the index is 1, above it 254. A NaN quotient only comes from an
// infinite span over a difference that overflowed too, so it belongs at the top.
int data_index(float value, float min, float span) {
    const float quotient = (value - min) / span * 253.0f;
    const float half_up = quotient + 0.5f;
    const float in_range = quotient >= 0.5f ? half_up : 0.5f;
    const float bounded = ((quotient >= 252.5f) | std::isnan(quotient)) ? 253.5f : in_range;
    return static_cast<int>(bounded) + 1;
}

// Each sample's index is worked out whole and then chosen without a branch, so that the
// compiler can run the loop on several samples at once.
void write_indices(const std::uint8_t* samples, std::size_t count, const Float32Scale& codes,
                   float min, float span, std::uint8_t* indices) {
    for (std::size_t i = 0; i < count; ++i) {
        const float value = load_sample<float>(samples, i);
        const int data = data_index(value, min, span);
        const int code = value == codes.under_threshold ? 255 : data;
        const bool no_data = !std::isfinite(value) | (value == codes.not_scanned);
        indices[i] = static_cast<std::uint8_t>(no_data ? 0 : code);
    }
}

// Maps FLOAT32 samples to indices 0 to 255 and builds the colour map over their range.
ConvertedBand convert_to_palette(SampleBlock block, const BandFacts& facts) {
    const int storage_code = static_cast<int>(facts.storage_type);
    logger().debug() << "Converting from storage type " << storage_code
                     << " to UINT8 for palette output" << std::endl;
    const Float32Scale codes = facts.scale.float32();
    if (facts.scale.has_linear_scale) {
        logger().debug() << "Palette: not_scanned=" << codes.not_scanned
                         << ", under_threshold=" << codes.under_threshold << std::endl;
    }
    if (facts.storage_type != pb::FLOAT32) {
        return conversion_failure("Unsupported conversion from storage type " +
                                  std::to_string(storage_code) + " to UINT8 for palette");
    }
    const std::uint64_t pixel_count = facts.pixel_count;
    if (!holds_samples(block.size, pixel_count, sizeof(float))) {
        return conversion_failure("Float data size mismatch: expected " +
                                  std::to_string(pixel_count * sizeof(float)) + " bytes, got " +
                                  std::to_string(block.size) + " bytes");
    }

    const ValueRange range =
        find_value_range(block.data(), pixel_count, codes.not_scanned, codes.under_threshold);
    const float min = range.min;
    const float span = range_span(range);
    logger().debug() << "Palette data range: [" << static_cast<double>(min) << ", "
                     << static_cast<double>(range.max) << "], mapping to indices [1, 254]"
                     << std::endl;

    ColorTable color_map;
    if (facts.colors.palette != nullptr) {
        color_map = scale_color_table(*facts.colors.palette, [min, span](int k) {
            return static_cast<float>(k - 1) / 253.0f * span + min;
        });
        logger().debug() << "Palette colormap built: index 0 -> nodata (grey), "
                         << "index 1 -> value " << static_cast<double>(min)
                         << ", index 254 -> value " << static_cast<double>(range.max)
                         << ", index 255 -> no echo (grey)" << std::endl;
    } else {
        color_map = grey_palette();
        logger().debug() << "No palette color scale, using grayscale colormap" << std::endl;
    }

    SampleBlock indices = SampleBlock::allocate(pixel_count);
    write_indices(block.data(), pixel_count, codes, min, span, indices.data());
    logger().info() << "Palette conversion completed: " << pixel_count << " bytes" << std::endl;
    return {std::move(indices), {}, {}, color_map};
}

// A UINT8 band's bytes are the indices already; it still needs its colour map: index k stands
// for the physical value of raw code k when the band has a linear scale and a scale is
// chosen, else the grey palette serves.
ConvertedBand add_uint8_colormap(SampleBlock block, const BandFacts& facts) {
    const ColorMapper* scale = facts.colors.palette;
    ColorTable color_map;
    if (scale != nullptr && facts.scale.has_linear_scale) {
        const Float32Scale linear = facts.scale.float32();
        const auto physical_value = [&linear](int k) {
            return static_cast<float>(k) * linear.step + linear.offset;
        };
        color_map = scale_color_table(*scale, physical_value);
        logger().debug() << "Palette colormap built for UINT8 data: index 1 -> value "
                         << static_cast<double>(physical_value(1)) << ", index 254 -> value "
                         << static_cast<double>(physical_value(254)) << std::endl;
    } else {
        color_map = grey_palette();
        logger().debug() << (scale == nullptr
                                 ? "No palette color scale, using grayscale colormap"
                                 : "No linear scale for UINT8 palette data, using grayscale "
                                   "colormap")
                         << std::endl;
    }
    return {std::move(block), {}, {}, color_map};
}

// The run's scale choice, announced with the layout: a palette run writes one band.
std::vector<LogNote> scale_choice_notes(const ColorScaleChoice& colors) {
    const std::string keys =
        "instrument='" + colors.instrument_name + "' product='" + colors.product_name + "'";
    return {{Level::DEBUG, "Using color palette color type"},
            colors.palette != nullptr ? LogNote{Level::DEBUG, "Using color scale for " + keys}
                                      : LogNote{Level::DEBUG, "No color scale found for " + keys +
                                                                  ", using default grayscale"}};
}

}  // namespace

BandPlan plan_palette(const BandFacts& facts) {
    BandPlan plan;
    plan.layout.photometric = PHOTOMETRIC_PALETTE;
    plan.layout_notes = scale_choice_notes(facts.colors);
    const StorageTypeInfo* storage = storage_type_info(facts.storage_type);
    plan.decoded_size = {
        0, std::max<std::uint64_t>(1, storage != nullptr ? storage->bytes_per_sample : 0)};
    if (facts.storage_type == pb::UINT8) {
        plan.convert = add_uint8_colormap;
        return plan;
    }
    plan.storage_note = non_uint8_note(facts.storage_type);
    plan.convert = convert_to_palette;
    plan.metadata_level = Level::INFO;
    return plan;
}

}  // namespace qrdcvt
