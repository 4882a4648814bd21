#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace qrdcvt {

// Samples of a block are read and written through memcpy: free of alignment and aliasing
// hazards, and compiled to a plain load or store.
template <typename T>
T load_sample(const std::uint8_t* bytes, std::size_t index) {
    T value;
    std::memcpy(&value, bytes + index * sizeof(T), sizeof(T));
    return value;
}

template <typename T>
void store_sample(std::uint8_t* bytes, std::size_t index, T value) {
    std::memcpy(bytes + index * sizeof(T), &value, sizeof(T));
}

}  // namespace qrdcvt
