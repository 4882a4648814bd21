#pragma once

#include <string>
#include <vector>

#include "radar.pb.h"

namespace radmill_sample {

// The little-endian samples of a physical field (see physical_field) in storage_type. Float
// types hold the physical values, NaN where not scanned and the under-threshold code where
// there is no echo; integer types hold raw codes through scale.
std::string encode_samples(const std::vector<float>& field,
                           qrd::pb::common::StorageType storage_type,
                           const qrd::pb::common::LinearScale& scale);

// A buffer holding samples in the given byte order and compression. Throws std::runtime_error
// when LZ4 cannot compress them.
qrd::pb::common::DataBuffer make_data_buffer(std::string samples,
                                             qrd::pb::common::StorageType storage_type,
                                             qrd::pb::common::Compression compression,
                                             qrd::pb::common::Endianness endianness);

// Bytes of one sample of storage_type.
std::size_t sample_size(qrd::pb::common::StorageType storage_type);

}  // namespace radmill_sample
