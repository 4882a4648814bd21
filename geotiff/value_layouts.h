#pragma once

#include <tiffio.h>

#include "band_layout.h"
#include "radar.pb.h"

namespace qrdcvt {

// The layouts of the modes that keep values rather than colours. Each sets the photometric
// interpretation (and, for float output, the sample format) and logs its nodata choice.

// Single-band mode: one FLOAT64 physical value per pixel, nodata "nan".
BandLayout single_band_layout(TIFF* tiff);

// Float colour type: floating-point samples, nodata "nan"; the storage type sets the size.
BandLayout float_layout(TIFF* tiff);

// Grayscale colour type: the stored samples; nodata "nan" for float storage, else the band's
// not_scanned code when it has a linear scale, else none.
BandLayout grayscale_layout(TIFF* tiff, bool float_storage,
                            const qrd::pb::common::RasterData& band);

}  // namespace qrdcvt
