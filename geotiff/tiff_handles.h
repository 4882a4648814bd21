#pragma once

#include <geotiffio.h>
#include <xtiffio.h>

#include <memory>

namespace qrdcvt {

struct TiffCloser {
    void operator()(TIFF* tiff) const { XTIFFClose(tiff); }
};
struct GtifFreer {
    void operator()(GTIF* gtif) const { GTIFFree(gtif); }
};

// Closing writes the last directory. The key handle works through its TIFF, so a GtifHandle
// must be freed before the TiffHandle it was made from closes: declare it after the TIFF
// (locals go in reverse order) and reset it first where both are released by hand.
using TiffHandle = std::unique_ptr<TIFF, TiffCloser>;
using GtifHandle = std::unique_ptr<GTIF, GtifFreer>;

}  // namespace qrdcvt
