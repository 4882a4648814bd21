# Debian's libgeotiff-dev ships neither a CMake package nor a pkg-config file.
find_path(GEOTIFF_INCLUDE_DIR geotiffio.h PATH_SUFFIXES geotiff REQUIRED)
find_library(GEOTIFF_LIBRARY NAMES geotiff REQUIRED)
add_library(GeoTIFF::GeoTIFF UNKNOWN IMPORTED)
set_target_properties(GeoTIFF::GeoTIFF PROPERTIES
    IMPORTED_LOCATION "${GEOTIFF_LIBRARY}"
    INTERFACE_INCLUDE_DIRECTORIES "${GEOTIFF_INCLUDE_DIR}")
