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

// Decompresses (LZ4 block or none) and byte-swaps the buffer's samples into a new block. An
// LZ4 block must decode to exactly uncompressed_size bytes; a claim beyond what the data can
// decode to or beyond image_size (the most any mode reads of the image) is refused
// unallocated. The buffer's data bytes are released as they are decoded; its other fields
// stay.
DecodedBand decode_buffer(qrd::pb::common::DataBuffer&& buffer, std::uint64_t image_size);

}  // namespace qrdcvt
