#include "cog_writer.h"

#include <cpl_string.h>
#include <gdal_priv.h>
#include <tiffio.h>

#include "compression.h"
#include "gdal_drivers.h"
#include "ogr_handles.h"
#include "simple_logger.h"
#include "tiff_messages.h"

namespace qrdcvt {

namespace {

const char* predictor_option(int predictor) {
    switch (predictor) {
        case PREDICTOR_HORIZONTAL:
            return "STANDARD";
        case PREDICTOR_FLOATINGPOINT:
            return "FLOATING_POINT";
    }
    return "NO";
}

// Overviews must not blend no-data into data: float values average with NaN left out, and
// colours average weighted by their alpha; codes and palette indices are picked, not mixed.
const char* resampling(const BandLayout& layout) {
    const bool averaged = layout.sample_format == SAMPLEFORMAT_IEEEFP || layout.alpha;
    return averaged ? "AVERAGE" : "NEAREST";
}

CPLStringList creation_options(const OutputOptions& options, const BandLayout& layout) {
    CPLStringList list;
    list.SetNameValue("COMPRESS", codec_of(options.compression).gdal_name);
    if (options.compression != Compression::NONE) {
        list.SetNameValue("PREDICTOR", predictor_option(predictor_for(options, layout)));
        if (options.compress_level != 0) {
            list.SetNameValue("LEVEL", std::to_string(options.compress_level).c_str());
        }
    }
    list.SetNameValue("RESAMPLING", resampling(layout));
    list.SetNameValue("BIGTIFF", "IF_SAFER");
    return list;
}

}  // namespace

std::string write_cog(const std::string& source, const std::string& target,
                      const std::string& output_path, const OutputOptions& options,
                      const BandLayout& layout) {
    use_gdal_drivers();
    const TiffMessagesBackToLog back_to_log;
    const QuietGdalErrors quiet;
    CPLErrorReset();
    GDALDriver* driver = GetGDALDriverManager()->GetDriverByName("COG");
    GDALDatasetUniquePtr strips(
        GDALDataset::Open(source.c_str(), GDAL_OF_RASTER | GDAL_OF_READONLY));
    bool written = false;
    if (driver != nullptr && strips) {
        GDALDatasetUniquePtr cog(driver->CreateCopy(target.c_str(), strips.get(), FALSE,
                                                    creation_options(options, layout).List(),
                                                    nullptr, nullptr));
        written = cog != nullptr;
    }
    // Closing flushes the last bytes; a failure then shows only as an error record.
    if (written && CPLGetLastErrorType() < CE_Failure) return {};
    // GDAL's explanation names the scratch files; the error line names the output.
    corvane::rs::wr::log::SimpleLogger::getInstance()->trace()
        << "GDAL: " << CPLGetLastErrorMsg() << std::endl;
    return "Failed to write Cloud-Optimized GeoTIFF: " + output_path;
}

}  // namespace qrdcvt
