#include "geotiff_converter.h"

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <exception>
#include <utility>

#include "band_decoder.h"
#include "cog_writer.h"
#include "compression.h"
#include "directory_texts.h"
#include "georeference.h"
#include "metadata_items.h"
#include "metadata_xml.h"
#include "simple_logger.h"
#include "strip_writer.h"
#include "tiff_messages.h"
#include "tiff_tags.h"

namespace qrdcvt {

namespace pb = qrd::pb::common;

namespace {

using corvane::rs::wr::log::SimpleLogger;

// Block sizes and strip offsets must stay below 2 GiB.
constexpr std::uint64_t block_limit = 0x7FFFFFFFu;

// The one place where the conversion writes an error line.
int fail(const std::string& message) {
    SimpleLogger::getInstance()->error() << message << std::endl;
    return 1;
}

std::string size_mismatch(std::uint64_t expected, std::uint64_t decoded) {
    return "Data size mismatch: expected " + std::to_string(expected) + " bytes, got " +
           std::to_string(decoded) + " bytes";
}

std::string instrument_name_of(const pb::Product& product) {
    if (!product.has_source() || product.source().instruments_size() == 0) return {};
    const std::string& name = product.source().instruments(0).name();
    SimpleLogger::getInstance()->debug() << "Instrument name: " << name << std::endl;
    return name;
}

std::string product_name_of(const pb::Product& product, const pb::RasterData& first_band) {
    std::string name;
    if (first_band.has_data_descriptor()) name = first_band.data_descriptor().name();
    if (name.empty() && product.has_source()) name = product.source().product_name();
    if (name.empty()) name = product.name();
    SimpleLogger::getInstance()->debug() << "Product name for color lookup: " << name << std::endl;
    return name;
}

}  // namespace

GeoTiffConverter::GeoTiffConverter(pb::Product product, ColorType color_type, bool single_band,
                                   const OutputOptions& options)
    : product(std::move(product)),
      color_type(color_type),
      single_band(single_band),
      options(options) {}

void GeoTiffConverter::convert_product_to_geotiff(const std::string& output_path,
                                                  const ColorScalePaths& scale_paths) {
    std::exit(run_conversion(output_path, scale_paths));
}

int GeoTiffConverter::run_conversion(const std::string& output_path,
                                     const ColorScalePaths& scale_paths) {
    int status = 1;
    std::string error;
    try {
        status = write_geotiff(output_path, scale_paths);
    } catch (const std::exception& exception) {
        error = exception.what();  // a colour-scale file or a projection that can't be read
    } catch (...) {
        error = "Unexpected error during GeoTIFF conversion";
    }
    gtif.reset();  // the key handle works through the TIFF: freed first
    tiff.reset();
    output.reset();  // a file that is not complete goes
    scratch.reset();
    return error.empty() ? status : fail(error);
}

int GeoTiffConverter::write_geotiff(const std::string& output_path,
                                    const ColorScalePaths& scale_paths) {
    auto& log = *SimpleLogger::getInstance();
    const auto& bands = product.raster_data_list().raster_data();
    if (bands.empty()) return fail("Raster data list is empty");
    if (single_band && bands.size() > 1) {
        log.info() << "Multi-band mode: processing " << bands.size() << " bands" << std::endl;
        band_count = bands.size();
    }
    if (options.layout == FileLayout::COG && band_count > 1) {
        return fail("A Cloud-Optimized GeoTIFF holds one band: set layout = strips to write the " +
                    std::to_string(band_count) + " bands of single-band mode");
    }
    const pb::RasterData& first_band = bands[0];
    width = first_band.width();
    height = first_band.height();
    if (width == 0 || height == 0) {
        return fail("Invalid raster dimensions: " + std::to_string(width) + "x" +
                    std::to_string(height));
    }
    if (first_band.data_buffers_size() == 0) return fail("No data buffers in raster data");
    log.debug() << "Converting product to GeoTIFF: " << output_path << " (" << width << "x"
                << height << " pixels, " << band_count << " band(s))" << std::endl;

    load_color_scales(scale_paths.custom_rgb, scale_paths.default_rgb);
    load_palette_color_scales(scale_paths.custom_palette, scale_paths.default_palette);
    const std::string instrument_name = instrument_name_of(product);
    colors = choose_color_scales(instrument_name, product_name_of(product, first_band));

    route_tiff_messages_to_log();
    mode = output_mode(single_band, color_type);
    if (const std::string error = open_tiff(output_path); !error.empty()) return fail(error);
    register_gdal_tags(tiff.get());
    gtif.reset(GTIFNew(tiff.get()));
    if (!gtif) return fail("Failed to create GeoTIFF structure.");

    product_time = reference_time(product);
    software = software_text();
    date_time = format_utc(product_time, "%Y:%m:%d %T");
    for (int index = 0; index < band_count; ++index) {
        std::string error = write_band(index);
        if (error.empty() && index + 1 < band_count) error = start_next_directory(index);
        if (!error.empty()) return fail(error);
    }
    gtif.reset();
    // Closing writes the last directory but can't report a failure (a full disk): flush first.
    if (!TIFFFlush(tiff.get())) {
        return fail("Failed to write TIFF directory for band " + std::to_string(band_count));
    }
    tiff.reset();
    if (const std::string error = finish_output(output_path); !error.empty()) return fail(error);
    log.info() << "GeoTIFF conversion completed: " << output_path << " (" << band_count
               << " band(s))" << std::endl;
    return 0;
}

std::string GeoTiffConverter::open_tiff(const std::string& output_path) {
    const char* open_mode = needs_bigtiff(planned_image_bytes(), band_count) ? "w8" : "w";
    int fd = output.emplace(output_path).open();
    if (options.layout == FileLayout::COG && fd >= 0) {
        ::close(fd);  // GDAL writes the COG by its name
        // Opened by name, a FIFO waits for a reader, and no device takes a COG: files only.
        fd = output->writes_directly() ? -1 : scratch.emplace(output_path).open_scratch();
    }
    if (fd >= 0) tiff.reset(XTIFFFdOpen(fd, output_path.c_str(), open_mode));
    if (tiff) return {};
    if (fd >= 0) ::close(fd);
    return "Failed to open output file for GeoTIFF: " + output_path;
}

std::string GeoTiffConverter::finish_output(const std::string& output_path) {
    if (options.layout == FileLayout::COG) {
        const std::string error = write_cog(scratch->written_path(), output->written_path(),
                                            output_path, options, planned_layout(0));
        scratch.reset();
        if (!error.empty()) return error;
    }
    if (!output->commit()) return "Failed to replace output file: " + output_path;
    return {};
}

BandLayout GeoTiffConverter::planned_layout(int index) const {
    const pb::RasterData& band = product.raster_data_list().raster_data(index);
    const pb::StorageType type =
        band.data_buffers_size() > 0 ? band.data_buffers(0).storage_type() : pb::UINT8;
    const std::uint64_t pixels = static_cast<std::uint64_t>(width) * height;
    return plan_band(mode, {type, pixels, read_band_scale(band), colors}).layout;
}

std::uint64_t GeoTiffConverter::planned_image_bytes() const {
    const std::uint64_t pixels = static_cast<std::uint64_t>(width) * height;
    std::uint64_t bytes = 0;
    for (int index = 0; index < band_count; ++index) {
        const BandLayout layout = planned_layout(index);
        bytes += pixels * layout.samples_per_pixel * layout.bytes_per_sample;
    }
    return bytes;
}

std::string GeoTiffConverter::write_band(int index) {
    auto& log = *SimpleLogger::getInstance();
    pb::RasterData& band = *product.mutable_raster_data_list()->mutable_raster_data(index);
    if (band_count != 1) {
        log.info() << "Processing band " << index + 1 << "/" << band_count << std::endl;
    }
    if (band.width() != width || band.height() != height) {
        return "Band " + std::to_string(index) + " dimensions (" + std::to_string(band.width()) +
               "x" + std::to_string(band.height()) + ") don't match expected (" +
               std::to_string(width) + "x" + std::to_string(height) + ")";
    }
    if (band.data_buffers_size() == 0) {
        return "Band " + std::to_string(index) + " has no data buffers";
    }
    set_directory_tags(
        tiff.get(), software,
        band_description(band, colors.product_name, colors.instrument_name, product_time),
        date_time, width, height);

    pb::DataBuffer& buffer = *band.mutable_data_buffers(0);
    const int storage_code = static_cast<int>(buffer.storage_type());
    const BandScale scale = read_band_scale(band);
    const std::uint64_t pixels = static_cast<std::uint64_t>(width) * height;
    const BandFacts facts{buffer.storage_type(), pixels, scale, colors};
    const BandPlan plan = plan_band(mode, facts);
    for (const LogNote& note : plan.layout_notes) write_note(note);
    set_layout_tags(tiff.get(), plan.layout);
    if (options.layout == FileLayout::STRIPS) {
        set_compression_tags(tiff.get(), options, plan.layout);
    }
    write_georeference(tiff.get(), gtif.get(), band, width, height, options.georeference);
    if (plan.storage_note) write_note(*plan.storage_note);
    if (!plan.error.empty()) return plan.error;
    const BandLayout& layout = plan.layout;
    log.debug() << "Data storage type: " << storage_code
                << ", bytes per sample: " << static_cast<int>(layout.bytes_per_sample) << std::endl;

    const std::uint64_t pixel_bytes =
        static_cast<std::uint64_t>(layout.samples_per_pixel) * layout.bytes_per_sample;
    if (pixels > block_limit / pixel_bytes) {
        return "Image too large: " + std::to_string(width) + "x" + std::to_string(height) +
               " pixels of " + std::to_string(pixel_bytes) + " bytes need 2 GiB or more";
    }
    const std::uint64_t expected = pixels * pixel_bytes;
    DecodedBand decoded = decode_buffer(std::move(buffer), pixels * plan.decoded_size.most);
    if (!decoded.error.empty()) return decoded.error;
    log.debug() << "Buffer storage type: " << storage_code << ", single_band: " << single_band
                << ", output_data_size: " << expected << ", data_size: " << decoded.block.size
                << std::endl;
    if (decoded.block.size < pixels * plan.decoded_size.least) {
        return size_mismatch(expected, decoded.block.size);
    }

    ConvertedBand converted = plan.convert(std::move(decoded.block), facts);
    if (!converted.error.empty()) return converted.error;
    if (converted.color_map) set_color_map(tiff.get(), *converted.color_map);
    if (plan.metadata_level) {
        write_metadata(band, scale, converted.statistics ? &*converted.statistics : nullptr,
                       *plan.metadata_level);
    }
    const SampleBlock& block = converted.block;
    if (block.size != expected) return size_mismatch(expected, block.size);
    const std::uint64_t strip_bytes = pixel_bytes * width * rows_per_strip(width, height);
    if (const auto strip = write_strips(tiff.get(), block.data(), block.size, strip_bytes)) {
        return "Failed to write TIFF strip " + std::to_string(*strip);
    }
    log.info() << "Band " << index + 1 << "/" << band_count << " written successfully" << std::endl;
    return {};
}

std::string GeoTiffConverter::start_next_directory(int index) {
    auto& log = *SimpleLogger::getInstance();
    log.debug() << "Writing directory for band " << index + 1 << std::endl;
    if (!TIFFWriteDirectory(tiff.get())) {
        return "Failed to write TIFF directory for band " + std::to_string(index + 1);
    }
    register_gdal_tags(tiff.get());
    gtif.reset();
    gtif.reset(GTIFNew(tiff.get()));
    if (!gtif) return "Failed to create GeoTIFF structure for band " + std::to_string(index + 2);
    log.debug() << "Ready to process band " << index + 2 << std::endl;
    return {};
}

void GeoTiffConverter::write_metadata(const pb::RasterData& band, const BandScale& scale,
                                      const BandStatistics* statistics, LogNote::Level level) {
    const MetadataItems items =
        build_metadata_items(product, band, scale, colors.description, statistics);
    set_gdal_metadata(tiff.get(), metadata_to_xml(items));
    write_note({level, "GDAL_METADATA written with " + std::to_string(items.size()) + " fields" +
                           (statistics != nullptr ? " (including statistics)" : "")});
}

}  // namespace qrdcvt
