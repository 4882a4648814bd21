#include "gdal_drivers.h"

#include <cpl_conv.h>
#include <gdal_frmts.h>

#include <mutex>

namespace qrdcvt {

void use_gdal_drivers() {
    static std::once_flag once;
    std::call_once(once, [] {
        CPLSetConfigOption("GDAL_PAM_ENABLED", "NO");
        // GDAL's block cache would otherwise grow to 5 % of the machine's memory while a COG
        // is made; tiles stream through a small one as fast.
        CPLSetConfigOption("GDAL_CACHEMAX", "64");
        GDALRegister_GTiff();
        GDALRegister_COG();
    });
}

}  // namespace qrdcvt
