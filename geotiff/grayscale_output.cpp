#include "grayscale_output.h"

#include <tiff.h>

#include "float_output.h"
#include "storage_types.h"

namespace qrdcvt {

namespace {

using Level = LogNote::Level;

}  // namespace

BandPlan plan_grayscale(const BandFacts& facts) {
    BandPlan plan;
    const StorageTypeInfo* storage = storage_type_info(facts.storage_type);
    const bool float_storage = storage != nullptr && storage->is_float;
    plan.layout.photometric = PHOTOMETRIC_MINISBLACK;
    plan.layout_notes = {{Level::INFO, "Using grayscale color type"}};
    if (float_storage) {
        set_nodata(plan.layout, "nan");
        plan.layout_notes.push_back({Level::DEBUG, "Setting GDAL NoData: nan (float data)"});
    } else if (facts.scale.not_scanned) {
        const std::string code = std::to_string(*facts.scale.not_scanned);
        set_nodata(plan.layout, code.c_str());
        plan.layout_notes.push_back(
            {Level::DEBUG, "Setting GDAL NoData from descriptor: " + code + " (grayscale)"});
    } else {
        plan.layout_notes.push_back(
            {Level::DEBUG, "No nodata set for integer grayscale (no descriptor available)"});
    }
    if (storage == nullptr) {
        plan.error =
            "Unsupported storage type: " + std::to_string(static_cast<int>(facts.storage_type));
        return plan;
    }
    plan.layout.bytes_per_sample = storage->bytes_per_sample;
    plan.layout.sample_format = storage->sample_format;
    plan.decoded_size = {float_storage ? storage->bytes_per_sample : 0u, storage->bytes_per_sample};
    if (float_storage) {
        plan.convert = convert_float;
        plan.metadata_level = Level::TRACE;
    } else {
        plan.convert = keep_samples;
    }
    return plan;
}

}  // namespace qrdcvt
