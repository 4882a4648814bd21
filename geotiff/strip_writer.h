#pragma once

#include <tiffio.h>

#include <cstdint>
#include <optional>

namespace qrdcvt {

// Writes size bytes as uncompressed strips 0, 1, ... of strip_bytes each, the last one
// holding the rest; libtiff may change the bytes on the way. Returns the number of the strip that
// libtiff refused, if any.
std::optional<std::uint32_t> write_strips(TIFF* tiff, std::uint8_t* bytes, std::uint64_t size,
                                          std::uint64_t strip_bytes);

}  // namespace qrdcvt
