#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "radar.pb.h"

namespace radmill_test {

// Bytes of a bare InstrumentData envelope whose payload is product.
std::string envelope_bytes(const qrd::pb::common::Product& product);
// Writes envelope_bytes(product) to path.
void write_product(const std::string& path, const qrd::pb::common::Product& product);

// The raw little-endian bytes of values.
template <typename T>
std::string raw_bytes(const std::vector<T>& values) {
    return std::string(reinterpret_cast<const char*>(values.data()), values.size() * sizeof(T));
}

// A product with one band of width x height samples, stored uncompressed and
// little-endian; add a descriptor, scale, georeference and so on through the returned band.
qrd::pb::common::Product one_band_product(std::uint32_t width, std::uint32_t height,
                                          qrd::pb::common::StorageType storage_type,
                                          const std::string& data);

// The first band of product, for adjusting it.
qrd::pb::common::RasterData& first_band(qrd::pb::common::Product& product);

// raw compressed as one LZ4 block, the form of an LZ4 data buffer.
std::string lz4_block(const std::string& raw);

}  // namespace radmill_test
