// The whole run from input bytes to a finished TIFF. The first byte picks the output:
// bits 0-1 the colour type (grayscale, palette, rgb, float), bit 2 single-band mode; the
// rest is the input file. Conversions use the example installation's four scale files.

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

// A run that reports success must have left a TIFF that opens.
void require_readable(const std::string& path) {
    TIFF* tiff = TIFFOpen(path.c_str(), "r");
    if (tiff == nullptr) std::abort();
    TIFFClose(tiff);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    radmill_fuzz::silence_log();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const auto color_type = static_cast<qrdcvt::ColorType>(data[0] & 3);
    const bool single_band = (data[0] & 4) != 0;
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
    const int status =
        qrdcvt::run_conversion(std::move(product), color_type, output, scale_paths, single_band);
    if (status == 0) require_readable(output);
    return 0;
}
