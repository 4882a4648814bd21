#pragma once

#include "band_plan.h"

namespace qrdcvt {

// RGB colour type: RGBA bytes with unassociated alpha, no nodata. FLOAT32 samples of one
// channel are coloured through the run's RGB scale (or a grey ramp); three channels are
// scaled to bytes; UINT8 data must already hold RGBA bytes.
BandPlan plan_rgb(const BandFacts& facts);

}  // namespace qrdcvt
