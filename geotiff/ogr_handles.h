#pragma once

#include <cpl_error.h>
#include <ogr_spatialref.h>

#include <exception>
#include <memory>
#include <new>

namespace qrdcvt {

struct SpatialReferenceDeleter {
    // References are counted by OGR, so they are released through OGR rather than deleted.
    void operator()(OGRSpatialReference* reference) const {
        OGRSpatialReference::DestroySpatialReference(reference);
    }
};
using SpatialReferencePtr = std::unique_ptr<OGRSpatialReference, SpatialReferenceDeleter>;

struct TransformationDeleter {
    void operator()(OGRCoordinateTransformation* transformation) const {
        OGRCoordinateTransformation::DestroyCT(transformation);
    }
};
using TransformationPtr = std::unique_ptr<OGRCoordinateTransformation, TransformationDeleter>;

// An empty spatial reference, owned by the caller.
inline SpatialReferencePtr make_spatial_reference() {
    return SpatialReferencePtr(new OGRSpatialReference());
}

// While one lives, GDAL and PROJ messages on this thread are dropped instead of printed, so
// a failed import or transformation shows only as the caller's own log line.
class QuietGdalErrors {
  public:
    QuietGdalErrors() { CPLPushErrorHandler(CPLQuietErrorHandler); }
    ~QuietGdalErrors() { CPLPopErrorHandler(); }
    QuietGdalErrors(const QuietGdalErrors&) = delete;
    QuietGdalErrors& operator=(const QuietGdalErrors&) = delete;
};

// OGR reports failures by result codes; should it throw all the same, that counts as the same
// failure, an empty Result. Running out of memory is left to end the run.
template <typename Result, typename Work>
Result empty_if_thrown(Work work) {
    try {
        return work();
    } catch (const std::bad_alloc&) {
        throw;
    } catch (const std::exception&) {
        return Result();
    }
}

}  // namespace qrdcvt
