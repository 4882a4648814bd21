#include "band_scale_values.h"

#include "float_samples.h"
#include "linear_scale.h"

namespace qrdcvt {

BandScaleValues band_scale_values(const qrd::pb::common::RasterData& band) {
    BandScaleValues values;
    const qrd::pb::common::LinearScale* linear = find_linear_scale(band);
    if (linear == nullptr) return values;
    values.has_linear_scale = true;
    values.step = narrow_to_float(linear->step());
    values.offset = narrow_to_float(linear->offset());
    values.not_scanned = static_cast<float>(linear->not_scanned());
    values.under_threshold = static_cast<float>(linear->under_threshold());
    return values;
}

}  // namespace qrdcvt
