# `cpack -G DEB` in the build directory makes radmill_<version>_<arch>.deb: the installation of
# cmake/installation.cmake under /usr, its dependencies read from the shared libraries that
# the programs link (dpkg-shlibdeps, from dpkg-dev), and the templates as configuration files,
# which dpkg keeps when a user has edited them.

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME radmill)
set(CPACK_PACKAGE_CONTACT "radmill developers <radmill@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "weather-radar product to GeoTIFF converter")
set(CPACK_PACKAGE_DESCRIPTION
    "radmill converts one weather-radar product file (serialized protobuf messages) into one \
GeoTIFF for GIS tools. radmill-info prints what a product file holds as JSON; radmill-sample \
makes sample products. The example configuration and colour scales are installed in \
${RADMILL_TEMPLATE_DIR}.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)

list(TRANSFORM RADMILL_TEMPLATE_NAMES PREPEND "${RADMILL_TEMPLATE_DIR}/" OUTPUT_VARIABLE conffiles)
list(JOIN conffiles "\n" conffiles)
file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/debian/conffiles "${conffiles}\n")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${CMAKE_CURRENT_BINARY_DIR}/debian/conffiles)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
