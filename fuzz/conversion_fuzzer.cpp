// The whole run from input bytes to a finished TIFF. The first byte picks the output:
// bits 0-1 the colour type (grayscale, palette, rgb, float), bit 2 single-band mode, bit 3
// the native georeference, bits 4-5 the compression; the rest is the input file. Conversions use
// the example installation's four scale files.

#include <cpl_error.h>
#include <cpl_string.h>
#include <gdal.h>
#include <tiffio.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <utility>

#include "converter.h"
#include "fuzz_support.h"
#include "input_reader.h"

namespace {

namespace pb = qrd::pb::common;

const std::string scales = RADMILL_EXAMPLES_DIR "/install/";
int gdal_messages = 0;

// Whether the first directory of the TIFF at path has a GDAL_METADATA tag.
bool has_gdal_metadata(const std::string& path) {
    TIFF* tiff = TIFFOpen(path.c_str(), "r");
    if (tiff == nullptr) std::abort();
    // A tag libtiff doesn't know is read as an anonymous one, which passes its count.
    const TIFFField* field = TIFFFindField(tiff, 42112, TIFF_ANY);
    std::uint32_t count = 0;
    char* text = nullptr;
    const bool found =
        field != nullptr && (TIFFFieldPassCount(field) ? TIFFGetField(tiff, 42112, &count, &text)
                                                       : TIFFGetField(tiff, 42112, &text)) == 1;
    TIFFClose(tiff);
    return found;
}

void count_gdal_message(CPLErr, CPLErrorNum, const char*) { ++gdal_messages; }

// A run that reports success must have left a file that GDAL opens without a warning or an
// error, with its metadata items readable.
void require_readable(const std::string& path) {
    const bool tagged = has_gdal_metadata(path);
    gdal_messages = 0;
    CPLPushErrorHandler(count_gdal_message);
    GDALDatasetH dataset = GDALOpen(path.c_str(), GA_ReadOnly);
    const bool items = dataset != nullptr && CSLCount(GDALGetMetadata(dataset, nullptr)) > 0;
    if (dataset != nullptr) GDALClose(dataset);
    CPLPopErrorHandler();
    if (dataset == nullptr || gdal_messages != 0 || (tagged && !items)) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    radmill_fuzz::silence_log();
    GDALAllRegister();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const auto color_type = static_cast<qrdcvt::ColorType>(data[0] & 3);
    const bool single_band = (data[0] & 4) != 0;
    qrdcvt::OutputOptions options;
    if ((data[0] & 8) != 0) options.georeference = qrdcvt::Georeference::NATIVE;
    options.compression = static_cast<qrdcvt::Compression>((data[0] >> 4) & 3);
    const std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);

    // The acceptance steps of main, without ending the process.
    pb::InstrumentData envelope;
    if (!qrdcvt::parse_input_file(bytes, envelope)) return 0;
    if (envelope.Payload_case() != pb::InstrumentData::kProduct) return 0;
    pb::Product& product = *envelope.mutable_product();
    if (product.data_case() != pb::Product::kRasterDataList) return 0;

    const std::string output = radmill_fuzz::scratch_directory() + "out.tif";
    const qrdcvt::ColorScalePaths scale_paths{
        scales + "color_scales.json", scales + "default_color_scales.json",
        scales + "color_scales_palette.json", scales + "default_color_scales_palette.json"};
    const int status = qrdcvt::run_conversion(std::move(product), color_type, output, scale_paths,
                                              single_band, options);
    if (status == 0) require_readable(output);
    return 0;
}
