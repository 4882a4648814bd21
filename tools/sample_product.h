#pragma once

#include "radar.pb.h"
#include "sample_options.h"

namespace radmill_sample {

// The product that options describe: one instrument, a PPI sweep, a time and options.bands
// raster bands. Throws std::runtime_error when it cannot be built (too large for one message,
// a site that the projection cannot place).
qrd::pb::common::Product sample_product(const SampleOptions& options);

}  // namespace radmill_sample
