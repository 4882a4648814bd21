#include "output_modes.h"

#include "float_output.h"
#include "metadata_items.h"
#include "metadata_xml.h"
#include "palette_output.h"
#include "rgba_output.h"
#include "simple_logger.h"
#include "single_band_output.h"
#include "storage_types.h"
#include "tiff_tags.h"
#include "value_layouts.h"

namespace qrdcvt {

namespace pb = qrd::pb::common;

namespace {

using corvane::rs::wr::log::SimpleLogger;

// Sets GDAL_METADATA; gives the number of items.
std::size_t write_metadata(const BandContext& context, const BandStatistics* statistics) {
    const MetadataItems items = build_metadata_items(
        context.product, context.band, context.instrument_name, context.product_name, statistics);
    set_gdal_metadata(context.tiff, metadata_to_xml(items));
    return items.size();
}

void log_metadata_with_statistics(std::ostream& level, std::size_t count) {
    level << "GDAL_METADATA written with " << count << " fields (including statistics)"
          << std::endl;
}

void log_metadata(std::size_t count) {
    SimpleLogger::getInstance()->info()
        << "GDAL_METADATA written with " << count << " fields" << std::endl;
}

std::uint64_t pixel_count(const BandContext& context) {
    return static_cast<std::uint64_t>(context.width) * context.height;
}

SampleBlock convert_single_band(SampleBlock block, const BandContext& context) {
    block = to_float64_band(std::move(block), context.storage_type, context.band, context.width,
                            context.height);
    if (!block) return {};
    const BandStatistics statistics = single_band_statistics(block.data(), pixel_count(context));
    const std::size_t count = write_metadata(context, &statistics);
    log_metadata_with_statistics(SimpleLogger::getInstance()->debug(), count);
    return block;
}

SampleBlock convert_float(SampleBlock block, const BandContext& context) {
    BandStatistics statistics;
    if (is_float_storage(context.storage_type)) {
        statistics =
            clean_float_band(block.data(), context.storage_type, context.width, context.height);
    } else {
        FloatBand floats = integers_to_float_band(std::move(block), context.storage_type,
                                                  context.band, context.width, context.height);
        block = std::move(floats.block);
        statistics = floats.statistics;
    }
    const std::size_t count = write_metadata(context, &statistics);
    log_metadata_with_statistics(SimpleLogger::getInstance()->trace(), count);
    return block;
}

SampleBlock convert_palette(SampleBlock block, const BandContext& context) {
    // A UINT8 band's bytes are the indices already; it still needs its colour map.
    if (context.storage_type == pb::UINT8) {
        write_uint8_palette_colormap(context.tiff, context.band, context.palette_scale,
                                     context.color_table);
        return block;
    }
    block = convert_to_palette(std::move(block), context.storage_type, context.band, context.width,
                               context.height, context.color_table, context.palette_scale,
                               context.tiff);
    if (block) log_metadata(write_metadata(context, nullptr));
    return block;
}

SampleBlock convert_rgb(SampleBlock block, const BandContext& context) {
    if (context.storage_type == pb::UINT8) return block;  // RGBA bytes as they come
    block = convert_to_rgba(std::move(block), context.storage_type, context.band, context.width,
                            context.height, context.instrument_name, context.product_name,
                            context.color_table);
    if (block) log_metadata(write_metadata(context, nullptr));
    return block;
}

}  // namespace

std::optional<OutputMode> output_mode(bool single_band, ColorType color_type) {
    if (single_band) return OutputMode::SINGLE_BAND;
    switch (color_type) {
        case ColorType::GRAYSCALE:
            return OutputMode::GRAYSCALE;
        case ColorType::PALETTE:
            return OutputMode::PALETTE;
        case ColorType::RGB:
            return OutputMode::RGB;
        case ColorType::FLOAT:
            return OutputMode::FLOAT;
    }
    return std::nullopt;
}

BandLayout choose_layout(OutputMode mode, const BandContext& context) {
    switch (mode) {
        case OutputMode::SINGLE_BAND:
            return single_band_layout(context.tiff);
        case OutputMode::GRAYSCALE:
            return grayscale_layout(context.tiff, is_float_storage(context.storage_type),
                                    context.band);
        case OutputMode::PALETTE:
            return palette_layout(context.tiff);
        case OutputMode::RGB:
            return rgba_layout(context.tiff);
        case OutputMode::FLOAT:
            return float_layout(context.tiff);
    }
    return {};
}

bool apply_storage_type(OutputMode mode, const BandContext& context, BandLayout& layout) {
    switch (mode) {
        case OutputMode::SINGLE_BAND:
            return true;
        case OutputMode::PALETTE:
        case OutputMode::RGB:
            if (context.storage_type != pb::UINT8) {
                SimpleLogger::getInstance()->debug()
                    << "Color palette/RGB image has non-UINT8 storage type ("
                    << static_cast<int>(context.storage_type) << "), data may need conversion"
                    << std::endl;
            }
            return true;
        case OutputMode::FLOAT: {
            // Integer codes are written as floats too, so the format stays IEEE.
            const std::uint8_t bytes = float_sample_bytes(context.storage_type);
            if (bytes == 0) return false;
            layout.bytes_per_sample = bytes;
            set_sample_format(context.tiff, sample_format_float, bytes);
            return true;
        }
        case OutputMode::GRAYSCALE: {
            const auto info = storage_type_info(context.storage_type);
            if (!info) return false;
            layout.bytes_per_sample = info->bytes_per_sample;
            set_sample_format(context.tiff, info->sample_format, info->bytes_per_sample);
            return true;
        }
    }
    return false;
}

std::uint64_t conversion_input_bytes(OutputMode mode, const BandContext& context) {
    const auto info = storage_type_info(context.storage_type);
    if (!info) return 0;  // refused before any sample is read
    const bool reads_samples =
        (mode == OutputMode::SINGLE_BAND && converts_to_float64(context.storage_type)) ||
        mode == OutputMode::FLOAT ||
        (mode == OutputMode::GRAYSCALE && is_float_storage(context.storage_type));
    // Palette and RGB conversions check their input size themselves.
    return reads_samples ? pixel_count(context) * info->bytes_per_sample : 0;
}

std::uint64_t largest_input_bytes(OutputMode mode, const BandContext& context) {
    const auto info = storage_type_info(context.storage_type);
    if (!info) return 0;
    const std::uint64_t channels = mode == OutputMode::RGB ? 3 : 1;
    return pixel_count(context) * channels * info->bytes_per_sample;
}

SampleBlock convert_samples(OutputMode mode, SampleBlock block, const BandContext& context) {
    switch (mode) {
        case OutputMode::SINGLE_BAND:
            return convert_single_band(std::move(block), context);
        case OutputMode::FLOAT:
            return convert_float(std::move(block), context);
        case OutputMode::GRAYSCALE:
            if (!is_float_storage(context.storage_type)) return block;  // written as stored
            return convert_float(std::move(block), context);
        case OutputMode::PALETTE:
            return convert_palette(std::move(block), context);
        case OutputMode::RGB:
            return convert_rgb(std::move(block), context);
    }
    return {};
}

}  // namespace qrdcvt
