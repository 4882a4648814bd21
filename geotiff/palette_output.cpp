#include "palette_output.h"

namespace qrdcvt {

const ColorMapper* find_palette_scale(const std::string&, const std::string&) { return nullptr; }
BandLayout palette_layout(TIFF*) { return {}; }
SampleBlock convert_to_palette(SampleBlock, qrd::pb::common::StorageType,
                               const qrd::pb::common::RasterData&, std::uint32_t, std::uint32_t,
                               ColorTable&, const ColorMapper*, TIFF*) {
    return {};
}
void set_tiff_colormap(TIFF*, const ColorTable&) {}
void write_uint8_palette_colormap(TIFF*, const qrd::pb::common::RasterData&, const ColorMapper*,
                                  ColorTable&) {}

}  // namespace qrdcvt
