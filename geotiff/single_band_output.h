#pragma once

#include "band_plan.h"

namespace qrdcvt {

// Single-band mode: physical values raw x step + offset as FLOAT64, NaN for missing data,
// with statistics; nodata "nan".
BandPlan plan_single_band(const BandFacts& facts);

}  // namespace qrdcvt
