#pragma once

#include <cfloat>
#include <cstdint>

#include "band_plan.h"

namespace qrdcvt {

// Float samples at or below -0.99 x FLT_MAX are fill values of the radar software, not data.
constexpr double invalid_float_threshold = -0.99 * static_cast<double>(FLT_MAX);

// Float colour type: floating-point samples with invalid values as NaN, and statistics;
// nodata "nan". Float storage keeps its width; UINT8 and UINT16 become FLOAT32, INT32 and
// INT64 FLOAT64 (exact or nearly so), with NaN for the not_scanned code.
BandPlan plan_float(const BandFacts& facts);

// The float colour type's conversion, which grayscale output of float storage shares.
ConvertedBand convert_float(SampleBlock block, const BandFacts& facts);

}  // namespace qrdcvt
