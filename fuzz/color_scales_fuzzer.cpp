// The colour-scale JSON loaders, fed the input as a custom file of the RGB family and as a
// default file of the palette family, then every loaded scale rendered and sampled.

#include <cstdint>
#include <limits>
#include <string>

#include "color_lookup.h"
#include "color_scale_files.h"
#include "fuzz_support.h"

namespace {

using namespace qrdcvt;

const std::string example_default = RADMILL_EXAMPLES_DIR "/install/default_color_scales.json";

// Malformed files are expected; they must end in the loaders' own error, nothing else.
template <typename Load>
void load_tolerating_bad_files(Load load) {
    try {
        load();
    } catch (const color_scale_error&) {
    }
}

void sample(const std::string& product_name, const ColorMapper& scale) {
    constexpr float infinity = std::numeric_limits<float>::infinity();
    for (const float value :
         {0.0f, -1e30f, 1e30f, infinity, -infinity, std::numeric_limits<float>::quiet_NaN()}) {
        scale.get_scales(value);
    }
    for (const color_scale& interval : scale.scales) {
        scale.get_scales(interval.lower);
        scale.get_scales(interval.upper);
    }
    color_table_description(&scale, product_name);
}

void sample_and_clear(ProductScales& scales) {
    for (const auto& [name, scale] : scales) sample(name, scale);
    scales.clear();
}

void sample_and_clear(InstrumentScales& scales) {
    for (auto& [instrument, products] : scales) {
        for (const auto& [name, scale] : products) find_color_mapper(instrument, name, false);
        sample_and_clear(products);
    }
    scales.clear();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = radmill_fuzz::scratch_directory() + "scales.json";
    const std::string absent = radmill_fuzz::scratch_directory() + "absent.json";
    radmill_fuzz::write_bytes(path, data, size);

    load_tolerating_bad_files([&] { load_color_scales(path, example_default); });
    load_tolerating_bad_files([&] { load_palette_color_scales(absent, path); });

    // The maps are process-wide; emptied so that every input starts afresh.
    sample_and_clear(custom_color_scales);
    sample_and_clear(default_color_scales);
    sample_and_clear(custom_color_scales_palette);
    sample_and_clear(default_color_scales_palette);
    return 0;
}
