#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

namespace qrdcvt {

// One band's bytes on the heap. Allocation leaves them uninitialised: big rasters are
// written over at once, so zeroing them first would only cost time.
struct SampleBlock {
    std::unique_ptr<std::uint8_t[]> bytes;
    std::size_t size = 0;

    static SampleBlock allocate(std::size_t size) {
        return SampleBlock{std::unique_ptr<std::uint8_t[]>(new std::uint8_t[size]), size};
    }
    explicit operator bool() const { return bytes != nullptr; }
    std::uint8_t* data() const { return bytes.get(); }
};

}  // namespace qrdcvt
