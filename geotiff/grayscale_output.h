#pragma once

#include "band_plan.h"

namespace qrdcvt {

// Grayscale colour type: the stored samples in their own type. Float storage is cleaned as
// the float colour type cleans it, with nodata "nan"; integer storage is written as stored,
// with the not_scanned code as nodata when the band has a linear scale.
BandPlan plan_grayscale(const BandFacts& facts);

}  // namespace qrdcvt
