#pragma once

namespace qrdcvt {

// Makes GDAL's GTiff and COG drivers available, once per process, with GDAL's side-car
// files (.aux.xml) off, since what radmill writes must stand in its one file, and its block
// cache bounded.
void use_gdal_drivers();

}  // namespace qrdcvt
