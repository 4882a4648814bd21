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

// Whether a block of size bytes holds exactly count samples of sample_size bytes; written
// with a division so that no product of the counts can overflow.
inline bool holds_samples(std::size_t size, std::uint64_t count, std::size_t sample_size) {
    return size % sample_size == 0 && size / sample_size == count;
}

}  // namespace qrdcvt
