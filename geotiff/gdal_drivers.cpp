#include "gdal_drivers.h"

#include <cpl_conv.h>
#include <gdal_frmts.h>

#include <mutex>

namespace qrdcvt {

void use_gdal_drivers() {
    static std::once_flag once;
    std::call_once(once, [] {
        CPLSetConfigOption("GDAL_PAM_ENABLED", "NO");
        GDALRegister_GTiff();
        GDALRegister_COG();
    });
}

}  // namespace qrdcvt
