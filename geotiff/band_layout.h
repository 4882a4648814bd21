#pragma once

#include <array>
#include <cstdint>

namespace qrdcvt {

// Layout of one output band as the colour-type step chooses it.
struct BandLayout {
    std::uint8_t samples_per_pixel = 1;
    std::uint8_t bytes_per_sample = 1;
    char nodata[64] = {};  // GDAL nodata text, written only when has_nodata
    bool has_nodata = false;
};

// Statistics of a band's valid values; all zero when it has none.
struct BandStatistics {
    double minimum = 0;
    double maximum = 0;
    double mean = 0;
    double stddev = 0;
    double valid_percent = 0;
};

// 256 colour-map entries of red, green, blue, alpha.
using ColorTable = std::array<std::array<std::uint8_t, 4>, 256>;

}  // namespace qrdcvt
