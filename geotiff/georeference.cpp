#include "georeference.h"

namespace qrdcvt {

void write_georeference(TIFF*, GTIF*, const qrd::pb::common::RasterData&, std::uint32_t,
                        std::uint32_t) {}

}  // namespace qrdcvt
