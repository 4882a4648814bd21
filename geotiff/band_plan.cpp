#include "band_plan.h"

#include "float_output.h"
#include "grayscale_output.h"
#include "palette_output.h"
#include "rgba_output.h"
#include "single_band_output.h"

namespace qrdcvt {

OutputMode output_mode(bool single_band, ColorType color_type) {
    if (single_band) return OutputMode::SINGLE_BAND;
    switch (color_type) {
        case ColorType::PALETTE:
            return OutputMode::PALETTE;
        case ColorType::RGB:
            return OutputMode::RGB;
        case ColorType::FLOAT:
            return OutputMode::FLOAT;
        default:
            return OutputMode::GRAYSCALE;
    }
}

BandPlan plan_band(OutputMode mode, const BandFacts& facts) {
    switch (mode) {
        case OutputMode::SINGLE_BAND:
            return plan_single_band(facts);
        case OutputMode::PALETTE:
            return plan_palette(facts);
        case OutputMode::RGB:
            return plan_rgb(facts);
        case OutputMode::FLOAT:
            return plan_float(facts);
        default:
            return plan_grayscale(facts);
    }
}

ConvertedBand keep_samples(SampleBlock block, const BandFacts&) {
    return {std::move(block), {}, {}, {}};
}

LogNote non_uint8_note(qrd::pb::common::StorageType storage_type) {
    return {LogNote::Level::DEBUG, "Color palette/RGB image has non-UINT8 storage type (" +
                                       std::to_string(static_cast<int>(storage_type)) +
                                       "), data may need conversion"};
}

}  // namespace qrdcvt
