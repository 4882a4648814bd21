#pragma once

#include <array>
#include <cstdint>
#include <cstdio>

namespace qrdcvt {

// The TIFF layout of one output band: every pixel tag of its directory.
struct BandLayout {
    std::uint16_t photometric = 1;  // TIFF PhotometricInterpretation
    std::uint8_t samples_per_pixel = 1;
    std::uint8_t bytes_per_sample = 1;
    std::uint16_t sample_format = 0;  // 0: no SampleFormat tag (unsigned integers)
    bool alpha = false;               // the last sample is unassociated alpha
    char nodata[64] = {};             // GDAL nodata text, written only when has_nodata
    bool has_nodata = false;
};

inline void set_nodata(BandLayout& layout, const char* text) {
    std::snprintf(layout.nodata, sizeof layout.nodata, "%s", text);
    layout.has_nodata = true;
}

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
