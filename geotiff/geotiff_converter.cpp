#include "geotiff_converter.h"

#include <algorithm>
#include <cstdlib>
#include <exception>
#include <utility>

#include "band_decoder.h"
#include "color_scale_files.h"
#include "directory_texts.h"
#include "georeference.h"
#include "output_modes.h"
#include "palette_output.h"
#include "simple_logger.h"
#include "strip_writer.h"
#include "tiff_handles.h"
#include "tiff_messages.h"
#include "tiff_tags.h"

namespace qrdcvt {

namespace pb = qrd::pb::common;

namespace {

using corvane::rs::wr::log::SimpleLogger;

// Block sizes and strip offsets must stay below 2 GiB.
constexpr std::uint64_t block_limit = 0x7FFFFFFFu;

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

// What stays the same for every directory of the file.
struct FileState {
    pb::Product& product;  // each band's data bytes go once they are decoded
    std::optional<OutputMode> mode;
    std::uint32_t width;
    std::uint32_t height;
    int band_count;
    std::string instrument_name;
    std::string product_name;
    std::string software;
    std::string date_time;
    std::int64_t reference_time;
    const ColorMapper* palette_scale;
    ColorTable& color_table;
    TIFF* tiff;
};

// Tags, georeference, samples and metadata of band index in the current directory.
int write_band(const FileState& file, GTIF* gtif, int index) {
    auto& log = *SimpleLogger::getInstance();
    pb::RasterData& band = *file.product.mutable_raster_data_list()->mutable_raster_data(index);
    if (file.band_count != 1) {
        log.info() << "Processing band " << index + 1 << "/" << file.band_count << std::endl;
    }
    if (band.width() != file.width || band.height() != file.height) {
        return fail("Band " + std::to_string(index) + " dimensions (" +
                    std::to_string(band.width()) + "x" + std::to_string(band.height()) +
                    ") don't match expected (" + std::to_string(file.width) + "x" +
                    std::to_string(file.height) + ")");
    }
    if (band.data_buffers_size() == 0) {
        return fail("Band " + std::to_string(index) + " has no data buffers");
    }
    set_directory_tags(
        file.tiff, file.software,
        band_description(band, file.product_name, file.instrument_name, file.reference_time),
        file.date_time, file.width, file.height);
    if (!file.mode) return fail("Unknown color type");
    const OutputMode mode = *file.mode;

    pb::DataBuffer& buffer = *band.mutable_data_buffers(0);
    const int storage_code = static_cast<int>(buffer.storage_type());
    const BandContext context{file.product,          band,
                              buffer.storage_type(), file.width,
                              file.height,           file.tiff,
                              file.instrument_name,  file.product_name,
                              file.palette_scale,    file.color_table};
    BandLayout layout = choose_layout(mode, context);
    set_layout_tags(file.tiff, layout);
    write_georeference(file.tiff, gtif, band, file.width, file.height);
    if (!apply_storage_type(mode, context, layout)) {
        return fail("Unsupported storage type: " + std::to_string(storage_code));
    }
    log.debug() << "Data storage type: " << storage_code
                << ", bytes per sample: " << static_cast<int>(layout.bytes_per_sample) << std::endl;

    const std::uint64_t pixel_bytes =
        static_cast<std::uint64_t>(layout.samples_per_pixel) * layout.bytes_per_sample;
    const std::uint64_t pixels = static_cast<std::uint64_t>(file.width) * file.height;
    if (pixel_bytes != 0 && pixels > block_limit / pixel_bytes) {
        return fail("Image too large: " + std::to_string(file.width) + "x" +
                    std::to_string(file.height) + " pixels of " + std::to_string(pixel_bytes) +
                    " bytes need 2 GiB or more");
    }
    const std::uint64_t expected = pixels * pixel_bytes;

    DecodedBand decoded =
        decode_buffer(std::move(buffer), std::max(expected, largest_input_bytes(mode, context)));
    if (!decoded.error.empty()) return fail(decoded.error);
    log.debug() << "Buffer storage type: " << storage_code
                << ", single_band: " << (mode == OutputMode::SINGLE_BAND ? 1 : 0)
                << ", output_data_size: " << expected << ", data_size: " << decoded.block.size
                << std::endl;
    if (decoded.block.size < conversion_input_bytes(mode, context)) {
        return fail(size_mismatch(expected, decoded.block.size));
    }

    SampleBlock block = convert_samples(mode, std::move(decoded.block), context);
    if (!block) return 1;
    if (block.size != expected) return fail(size_mismatch(expected, block.size));
    const std::uint64_t strip_bytes =
        pixel_bytes * file.width * rows_per_strip(file.width, file.height);
    if (const auto strip = write_strips(file.tiff, block.data(), block.size, strip_bytes)) {
        return fail("Failed to write TIFF strip " + std::to_string(*strip));
    }
    log.info() << "Band " << index + 1 << "/" << file.band_count << " written successfully"
               << std::endl;
    return 0;
}

}  // namespace

GeoTiffConverter::GeoTiffConverter(pb::Product product, ColorType color_type, bool single_band)
    : product(std::move(product)), color_type(color_type), single_band(single_band) {}

void GeoTiffConverter::convert_product_to_geotiff(const std::string& output_path,
                                                  const std::string& custom_rgb_path,
                                                  const std::string& default_rgb_path,
                                                  const std::string& custom_palette_path,
                                                  const std::string& default_palette_path) {
    std::exit(run_conversion(output_path, custom_rgb_path, default_rgb_path, custom_palette_path,
                             default_palette_path));
}

int GeoTiffConverter::run_conversion(const std::string& output_path,
                                     const std::string& custom_rgb_path,
                                     const std::string& default_rgb_path,
                                     const std::string& custom_palette_path,
                                     const std::string& default_palette_path) {
    try {
        return write_geotiff(output_path, custom_rgb_path, default_rgb_path, custom_palette_path,
                             default_palette_path);
    } catch (const std::exception& error) {
        // A colour-scale file or a projection that can't be read; the file is closed by now.
        return fail(error.what());
    } catch (...) {
        return fail("Unexpected error during GeoTIFF conversion");
    }
}

int GeoTiffConverter::write_geotiff(const std::string& output_path,
                                    const std::string& custom_rgb_path,
                                    const std::string& default_rgb_path,
                                    const std::string& custom_palette_path,
                                    const std::string& default_palette_path) {
    auto& log = *SimpleLogger::getInstance();
    const auto& bands = product.raster_data_list().raster_data();
    if (bands.empty()) return fail("Raster data list is empty");
    int band_count = 1;
    if (single_band && bands.size() > 1) {
        log.info() << "Multi-band mode: processing " << bands.size() << " bands" << std::endl;
        band_count = static_cast<int>(bands.size());
    }
    const pb::RasterData& first_band = bands[0];
    const std::uint32_t width = first_band.width();
    const std::uint32_t height = first_band.height();
    if (width == 0 || height == 0) {
        return fail("Invalid raster dimensions: " + std::to_string(width) + "x" +
                    std::to_string(height));
    }
    if (first_band.data_buffers_size() == 0) return fail("No data buffers in raster data");
    log.debug() << "Converting product to GeoTIFF: " << output_path << " (" << width << "x"
                << height << " pixels, " << band_count << " band(s))" << std::endl;

    load_color_scales(custom_rgb_path, default_rgb_path);
    load_palette_color_scales(custom_palette_path, default_palette_path);
    const std::string instrument_name = instrument_name_of(product);
    const std::string product_name = product_name_of(product, first_band);

    route_tiff_messages_to_log();
    TiffHandle tiff(XTIFFOpen(output_path.c_str(), "w"));
    if (!tiff) return fail("Failed to open output file for GeoTIFF: " + output_path);
    register_gdal_tags(tiff.get());
    GtifHandle gtif(GTIFNew(tiff.get()));  // declared after tiff: freed before it closes
    if (!gtif) return fail("Failed to create GeoTIFF structure.");

    const std::optional<OutputMode> mode = output_mode(single_band, color_type);
    const std::int64_t reference = reference_time(product);
    const FileState file{
        product,
        mode,
        width,
        height,
        band_count,
        instrument_name,
        product_name,
        software_text(),
        format_utc(reference, "%Y:%m:%d %T"),
        reference,
        mode == OutputMode::PALETTE ? find_palette_scale(instrument_name, product_name) : nullptr,
        color_table,
        tiff.get()};

    for (int index = 0; index < band_count; ++index) {
        if (const int status = write_band(file, gtif.get(), index)) return status;
        if (index + 1 == band_count) break;
        log.debug() << "Writing directory for band " << index + 1 << std::endl;
        if (!TIFFWriteDirectory(tiff.get())) {
            return fail("Failed to write TIFF directory for band " + std::to_string(index + 1));
        }
        register_gdal_tags(tiff.get());
        gtif.reset();
        gtif.reset(GTIFNew(tiff.get()));
        if (!gtif) {
            return fail("Failed to create GeoTIFF structure for band " + std::to_string(index + 2));
        }
        log.debug() << "Ready to process band " << index + 2 << std::endl;
    }
    gtif.reset();
    // Closing writes the last directory but can't report a failure (a full disk): flush first.
    if (!TIFFFlush(tiff.get())) {
        return fail("Failed to write TIFF directory for band " + std::to_string(band_count));
    }
    tiff.reset();
    log.info() << "GeoTIFF conversion completed: " << output_path << " (" << band_count
               << " band(s))" << std::endl;
    return 0;
}

}  // namespace qrdcvt
