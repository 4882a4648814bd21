#pragma once

#include <string>

#include "radar.pb.h"
#include "sample_options.h"

namespace radmill_sample {

// Writes product to path in framing; a volume framing carries the product's instrument, scan,
// time and bands as a Volume. Consumes product. Throws std::runtime_error when the file
// cannot be written, or when radmill would not read it back as written.
void write_sample_file(const std::string& path, Framing framing, qrd::pb::common::Product product);

}  // namespace radmill_sample
