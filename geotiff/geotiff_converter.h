#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "band_plan.h"
#include "color_lookup.h"
#include "color_scale_files.h"
#include "color_type.h"
#include "output_file.h"
#include "output_options.h"
#include "radar.pb.h"
#include "tiff_handles.h"

namespace qrdcvt {

// Writes one product as a GeoTIFF: one directory per written band (every band in
// single-band mode, else the first), then ends the process. Used once.
class GeoTiffConverter {
  public:
    // Takes the product over: moved in, or copied when the caller keeps its own.
    GeoTiffConverter(qrd::pb::common::Product product, ColorType color_type, bool single_band,
                     const OutputOptions& options);

    // Exits with status 0 after a complete file at output_path, 1 after the first error line.
    [[noreturn]] void convert_product_to_geotiff(const std::string& output_path,
                                                 const ColorScalePaths& scale_paths);

    // The same conversion, returning that exit status instead of ending the process.
    int run_conversion(const std::string& output_path, const ColorScalePaths& scale_paths);

  private:
    // The exit status; the output file is closed on every path.
    int write_geotiff(const std::string& output_path, const ColorScalePaths& scale_paths);
    // Opens the output file and the TIFF that the bands are written to: the output file, or
    // with the COG layout a scratch file beside it; the error line, or empty.
    std::string open_tiff(const std::string& output_path);
    // Puts the written file at the output path, rewritten as a COG where asked for.
    std::string finish_output(const std::string& output_path);
    // Band index's layout, as its plan has it.
    BandLayout planned_layout(int index) const;
    // Bytes of the strips of every band to write, as their plans lay them out.
    std::uint64_t planned_image_bytes() const;
    // Tags, georeference, samples and metadata of band index in the current directory; the
    // error line that ends the run, or empty.
    std::string write_band(int index);
    // Writes the finished directory of band index and sets up the next one.
    std::string start_next_directory(int index);
    void write_metadata(const qrd::pb::common::RasterData& band, const BandScale& scale,
                        const BandStatistics* statistics, LogNote::Level level);

    qrd::pb::common::Product product;
    ColorType color_type;
    bool single_band;
    OutputOptions options;

    // Fixed for the whole file once the run has checked its bands.
    OutputMode mode = OutputMode::GRAYSCALE;
    int band_count = 1;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    ColorScaleChoice colors;
    std::int64_t product_time = 0;  // seconds since the epoch that the dates stand for
    std::string software;
    std::string date_time;
    std::optional<OutputFile> output;   // declared before tiff: outlive the handle writing them
    std::optional<OutputFile> scratch;  // the strips a COG is made from
    TiffHandle tiff;
    GtifHandle gtif;  // declared after tiff: destroyed, and so freed, before it closes
};

}  // namespace qrdcvt
