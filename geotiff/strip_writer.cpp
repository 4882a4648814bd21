#include "strip_writer.h"

#include <algorithm>

namespace qrdcvt {

std::optional<std::uint32_t> write_strips(TIFF* tiff, std::uint8_t* bytes, std::uint64_t size,
                                          std::uint64_t strip_bytes) {
    std::uint32_t strip = 0;
    for (std::uint64_t offset = 0; offset < size; offset += strip_bytes, ++strip) {
        const std::uint64_t length = std::min(strip_bytes, size - offset);
        if (TIFFWriteEncodedStrip(tiff, strip, bytes + offset, static_cast<tmsize_t>(length)) < 0) {
            return strip;
        }
    }
    return std::nullopt;
}

}  // namespace qrdcvt
