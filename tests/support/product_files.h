#pragma once

#include <google/protobuf/message.h>

#include <cstdint>
#include <string>
#include <vector>

#include "radar.pb.h"

namespace radmill_test {

// Writes product to path inside a bare InstrumentData envelope, the form radmill tries first.
void write_product(const std::string& path, const qrd::pb::common::Product& product);

// The raw little-endian bytes of values.
template <typename T>
std::string raw_bytes(const std::vector<T>& values) {
    return std::string(reinterpret_cast<const char*>(values.data()), values.size() * sizeof(T));
}

// Merges fields written in protobuf text format ("data_descriptor { name: 'DBZH' }"); throws
// std::invalid_argument when the text doesn't parse.
void merge_text(google::protobuf::Message& message, const std::string& text);

// A product with one band of width x height samples, stored uncompressed and little-endian, with
// band_text merged into the band and buffer_text into its buffer.
qrd::pb::common::Product raster_product(std::uint32_t width, std::uint32_t height,
                                        qrd::pb::common::StorageType storage_type,
                                        const std::string& data, const std::string& band_text = "",
                                        const std::string& buffer_text = "");

// The first band of product, for adjusting it.
qrd::pb::common::RasterData& first_band(qrd::pb::common::Product& product);

// raw compressed as one LZ4 block, the form of an LZ4 data buffer.
std::string lz4_block(const std::string& raw);

}  // namespace radmill_test
