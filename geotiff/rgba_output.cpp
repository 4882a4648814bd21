#include "rgba_output.h"

namespace qrdcvt {

BandLayout rgba_layout(TIFF*) { return {}; }
SampleBlock convert_to_rgba(SampleBlock, qrd::pb::common::StorageType,
                            const qrd::pb::common::RasterData&, std::uint32_t, std::uint32_t,
                            const std::string&, const std::string&, const ColorTable&) {
    return {};
}

}  // namespace qrdcvt
