#pragma once

#include "band_plan.h"

namespace qrdcvt {

// Palette colour type: one 8-bit index per pixel into a 256-entry colour map (0 nodata, 1 to
// 254 data from the band's own minimum to its maximum, 255 no echo), no nodata. FLOAT32
// samples are mapped to indices; UINT8 bytes are the indices already.
BandPlan plan_palette(const BandFacts& facts);

}  // namespace qrdcvt
