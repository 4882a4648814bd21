#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "radar.pb.h"
#include "sample_block.h"

namespace qrdcvt {

// A band's raw samples in host byte order, or the error line that ends the run.
struct DecodedBand {
    SampleBlock block;
    std::string error;  // empty on success
};

// Decompresses (LZ4 block or none) and byte-swaps the buffer's samples into a new block.
// An LZ4 block keeps uncompressed_size bytes; what it doesn't decode to is zero. A claim
// beyond what the data can decode to is honoured up to image_size bytes (what the image's
// samples take) or 16 MiB. The buffer's data bytes are released as they are decoded; its
// other fields stay.
DecodedBand decode_buffer(qrd::pb::common::DataBuffer&& buffer, std::uint64_t image_size);

}  // namespace qrdcvt
