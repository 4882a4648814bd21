#include "georeference.h"

#include <gdal_priv.h>
#include <google/protobuf/text_format.h>
#include <gtest/gtest.h>
#include <ogr_spatialref.h>
#include <xtiffio.h>

#include <algorithm>
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "geotiff_test_support.h"

namespace {

namespace pb = qrd::pb::common;
using geotiff_test::LogCapture;

constexpr std::uint32_t WIDTH = 400;
constexpr std::uint32_t HEIGHT = 200;

using Rect = std::array<double, 4>;  // west, south, east, north

// A band with the projection given in protobuf text format and the corners as its box.
pb::RasterData band_at(const Rect& corners, const std::string& projection) {
    pb::RasterData band;
    pb::GeoReference* geo = band.mutable_geo_reference();
    EXPECT_TRUE(
        google::protobuf::TextFormat::ParseFromString(projection, geo->mutable_projection()))
        << projection;
    geo->mutable_bounding_box()->mutable_south_west()->set_x(corners[0]);
    geo->mutable_bounding_box()->mutable_south_west()->set_y(corners[1]);
    geo->mutable_bounding_box()->mutable_north_east()->set_x(corners[2]);
    geo->mutable_bounding_box()->mutable_north_east()->set_y(corners[3]);
    return band;
}

// A one-band 8-bit TIFF georeferenced by write_georeference.
std::string write_tiff(const pb::RasterData& band,
                       qrdcvt::Georeference georeference = qrdcvt::Georeference::WGS84) {
    static const radmill_test::TempInstall scratch;
    const std::string path = scratch.path("georeference.tif");
    TIFF* tiff = XTIFFOpen(path.c_str(), "w");
    TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, WIDTH);
    TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, HEIGHT);
    TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, 8);
    TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, HEIGHT);
    TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISBLACK);
    GTIF* gtif = GTIFNew(tiff);
    qrdcvt::write_georeference(tiff, gtif, band, WIDTH, HEIGHT, georeference);
    GTIFFree(gtif);
    std::vector<std::uint8_t> pixels(WIDTH * HEIGHT);
    TIFFWriteEncodedStrip(tiff, 0, pixels.data(), pixels.size());
    XTIFFClose(tiff);
    return path;
}

// The raster's rectangle as GDAL reads it; the file must be in crs, by default WGS 84.
Rect gdal_bounds(const std::string& path, const std::string& crs_definition = "EPSG:4326") {
    GDALAllRegister();
    GDALDatasetUniquePtr dataset(GDALDataset::Open(path.c_str(), GDAL_OF_RASTER));
    EXPECT_TRUE(dataset) << path;
    if (!dataset) return {};
    OGRSpatialReference expected;
    expected.SetFromUserInput(crs_definition.c_str());
    const OGRSpatialReference* crs = dataset->GetSpatialRef();
    const char* ignore_axis_order[] = {"IGNORE_DATA_AXIS_TO_SRS_AXIS_MAPPING=YES", nullptr};
    EXPECT_TRUE(crs && crs->IsSame(&expected, ignore_axis_order));
    if (crs_definition == "EPSG:4326") {
        EXPECT_STREQ(crs->GetAuthorityCode(nullptr), "4326");
    }
    double t[6] = {};
    dataset->GetGeoTransform(t);
    return {t[0], t[3] + t[5] * HEIGHT, t[0] + t[1] * WIDTH, t[3]};
}

// OGR's own answer: the bounding rectangle of the four corners converted to WGS 84 degrees.
Rect ogr_bounds(const std::string& source_definition, const Rect& corners) {
    OGRSpatialReference source;
    OGRSpatialReference wgs84;
    EXPECT_EQ(source.SetFromUserInput(source_definition.c_str()), OGRERR_NONE);
    wgs84.importFromEPSG(4326);
    source.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
    wgs84.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
    std::unique_ptr<OGRCoordinateTransformation> transformation(
        OGRCreateCoordinateTransformation(&source, &wgs84));
    double x[] = {corners[0], corners[2], corners[0], corners[2]};
    double y[] = {corners[1], corners[1], corners[3], corners[3]};
    EXPECT_TRUE(transformation && transformation->Transform(4, x, y));
    return {*std::min_element(x, x + 4), *std::min_element(y, y + 4), *std::max_element(x, x + 4),
            *std::max_element(y, y + 4)};
}

// In metres of EPSG:3067; the north-west corner lies west of the south-west one, so the two
// named corners alone would not bound the converted raster.
const Rect FINLAND_TM35{100000, 6600000, 700000, 7700000};

// The log line that tells how a band's corners were placed: level, message.
using Line = std::pair<const char*, const char*>;
const Line CONVERTED{"info",
                     "Coordinate transformation applied: projected coordinates converted to WGS84"};
const Line DEGREES{"info", "Coordinates appear to be in geographic range, assuming WGS84"};
const Line NO_REFERENCE{"warning",
                        "Could not create spatial reference, using original coordinates"};
const Line FAILED{"warning", "Coordinate transformation failed, using original coordinates"};

struct PlacementCase {
    std::string projection;
    Rect corners;
    std::string source;  // how OGR is told the same system; empty: none can be built
    Line line = CONVERTED;
};

std::vector<PlacementCase> placement_cases() {
    const std::string laea =  // EPSG:3035
        R"(PROJCS["LAEA",GEOGCS["WGS 84",DATUM["WGS_1984",SPHEROID["WGS 84",6378137,)"
        R"(298.257223563]],PRIMEM["Greenwich",0],UNIT["degree",0.0174532925199433]],)"
        R"(PROJECTION["Lambert_Azimuthal_Equal_Area"],PARAMETER["latitude_of_center",52],)"
        R"(PARAMETER["longitude_of_center",10],PARAMETER["false_easting",4321000],)"
        R"(PARAMETER["false_northing",3210000],UNIT["metre",1]])";
    const std::string wkt = " wkt: '" + laea + "'";
    const Rect laea_metres{4000000, 3000000, 5000000, 4000000};
    const char* utm35 = "+proj=utm +zone=35 +datum=WGS84 +units=m +no_defs";
    const Rect utm35_metres{300000, 6600000, 500000, 6800000};
    const Rect metres{-200000, -150000, 250000, 300000};
    const auto kind = [](const std::string& kind, const std::string& lat = "60",
                         const std::string& lon = "25") {
        return "parameters { kind: " + kind + " center_latitude: " + lat +
               " center_longitude: " + lon + " standard_parallel_1: 50 standard_parallel_2: 70 }";
    };
    const auto proj = [](const std::string& p) { return "+proj=" + p + " +datum=WGS84"; };
    return {
        {"epsg: 'EPSG:3067'", {-10, 50, 30, 70}, "", DEGREES},  // tie point -10, 70; scale 0.1
        {"", {30, 50, -10, 70}, "", DEGREES},                   // a negative x scale
        {"epsg: 'EPSG:3067'" + wkt, FINLAND_TM35, "EPSG:3067"},
        {"epsg: 'OTHER: +3067 (TM35FIN)'", FINLAND_TM35, "EPSG:3067"},  // read like strtol
        {"epsg: 'EPSG:'" + wkt, laea_metres, laea},
        {"epsg: 'EPSG:abc'" + wkt, laea_metres, laea},
        {"epsg: 'EPSG:4294970363'" + wkt, laea_metres, laea},  // 2^32 + 3067
        {"epsg: 'EPSG:999999'" + wkt, laea_metres, laea},
        {"wkt: 'NOT WKT' proj4: '" + std::string(utm35) + "'", utm35_metres, utm35},
        {"epsg: 'EPSG:4326'", {-10, 50, 190, 70}, "EPSG:4326"},   // east 190 isn't degrees
        {"epsg: 'EPSG:3067'", {-10, 50, 30, 90.5}, "EPSG:3067"},  // nor north 90.5
        {"epsg: 'EPSG:3067'", {-10, -90.5, 30, 70}, "EPSG:3067"},
        {kind("AZIMUTHAL_EQUIDISTANT"), metres, proj("aeqd +lat_0=60 +lon_0=25")},
        // OGR reads a non-zero centre latitude with unit scale as the true-scale latitude.
        {kind("MERCATOR"), metres, proj("merc +lat_ts=60 +lon_0=25")},
        {kind("POLAR_STEREOGRAPHIC"), metres, proj("stere +lat_0=90 +lat_ts=60 +lon_0=25")},
        {kind("UTM"), utm35_metres, "EPSG:32635"},
        {kind("UTM", "-33", "18"), {200000, 6300000, 400000, 6400000}, "EPSG:32734"},
        {kind("UTM", "0"), {300000, 100000, 500000, 300000}, "EPSG:32635"},  // the equator: north
        // Far enough from the sub-satellite point for the satellite height to matter.
        {kind("GEOSTATIONARY"), {-2e6, 1e6, 3e6, 4e6}, proj("geos +lon_0=25 +h=35786000")},
        {kind("EQUIRECTANGULAR"), metres, proj("eqc +lat_ts=0 +lat_0=60 +lon_0=25")},
        {kind("GNOMONIC"), metres, proj("gnom +lat_0=60 +lon_0=25")},
        {kind("TRANSVERSE_MERCATOR"), metres, proj("tmerc +lat_0=60 +lon_0=25 +k=1")},
        {kind("LAMBERT_CONFORMAL_CONIC"), metres,
         proj("lcc +lat_0=60 +lon_0=25 +lat_1=50 +lat_2=70")},
        {"epsg: '3067'", FINLAND_TM35, "", NO_REFERENCE},
        {kind("PROJECTION_KIND_NONE"), FINLAND_TM35, "", NO_REFERENCE},
        {kind("10"), FINLAND_TM35, "", NO_REFERENCE},
        {"epsg: 'EPSG:999999' wkt: 'NOT WKT' proj4: '+proj=nonsense'", FINLAND_TM35, "",
         NO_REFERENCE},
        // The south-west corner is below the satellite; the others miss the Earth's disc.
        {kind("GEOSTATIONARY", "0"), {0, 0, 2e7, 2e7}, proj("geos +lon_0=25 +h=35786000"), FAILED},
    };
}

TEST(GeoreferenceTest, CornersConvertedByOgrOrWrittenAsGiven) {
    testing::internal::CaptureStderr();  // at the descriptor, so that C libraries are caught
    for (const auto& c : placement_cases()) {
        SCOPED_TRACE(c.projection);
        const LogCapture log;
        const Rect written = gdal_bounds(write_tiff(band_at(c.corners, c.projection)));
        const bool converted = c.line == CONVERTED;
        const Rect expected = converted ? ogr_bounds(c.source, c.corners) : c.corners;
        for (int i = 0; i < 4; ++i) EXPECT_NEAR(written[i], expected[i], 1e-7) << i;
        EXPECT_TRUE(log.has(c.line.first, c.line.second));
        EXPECT_EQ(log.has("info", "Using original coordinates as WGS84"), !converted);
    }
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");  // OGR's complaints go nowhere
}

// Every band with a projected system that can be built is written in that system with its
// corners as given, whether or not they convert to degrees; the rest as by default.
TEST(GeoreferenceTest, NativeGeoreferenceKeepsTheProjectedBox) {
    testing::internal::CaptureStderr();
    for (const auto& c : placement_cases()) {
        SCOPED_TRACE(c.projection);
        const bool native = !c.source.empty() && c.source != "EPSG:4326";
        const LogCapture log;
        const std::string path =
            write_tiff(band_at(c.corners, c.projection), qrdcvt::Georeference::NATIVE);
        const Rect written = native ? gdal_bounds(path, c.source) : gdal_bounds(path);
        const Rect expected =
            native || c.line != CONVERTED ? c.corners : ogr_bounds(c.source, c.corners);
        for (int i = 0; i < 4; ++i) EXPECT_NEAR(written[i], expected[i], 1e-3) << i;
        EXPECT_EQ(log.has("info", "Coordinates are in projected system, transforming to WGS84"),
                  !native && c.line != DEGREES);
    }
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

// A system that GDAL's GeoTIFF keys can't describe falls back to the WGS 84 rectangle.
TEST(GeoreferenceTest, NativeSystemWithoutGeoTiffKeysIsPlacedInWgs84) {
    const std::string equal_earth = "+proj=eqearth +datum=WGS84";
    const LogCapture log;
    const Rect metres{1000000, 5000000, 2000000, 6000000};
    gdal_bounds(write_tiff(band_at(metres, "proj4: '" + equal_earth + "'"),
                           qrdcvt::Georeference::NATIVE));  // in WGS 84
    EXPECT_TRUE(log.has(
        "warning",
        "Native coordinate system +proj=eqearth +lon_0=0 +x_0=0 +y_0=0 +datum=WGS84 +units=m "
        "+no_defs not written: GeoTIFF keys can't describe it; placing the band in WGS84"));
    EXPECT_TRUE(log.has(CONVERTED.first, CONVERTED.second));
}

TEST(GeoreferenceTest, BandWithoutBoundingBoxGetsKeysOnly) {
    pb::RasterData band = band_at(FINLAND_TM35, "epsg: 'EPSG:3067'");
    band.mutable_geo_reference()->clear_bounding_box();
    const LogCapture log;
    const std::string path = write_tiff(band);
    TIFF* tiff = XTIFFOpen(path.c_str(), "r");
    std::uint16_t count = 0;
    double* values = nullptr;
    EXPECT_FALSE(TIFFGetField(tiff, TIFFTAG_GEOTIEPOINTS, &count, &values));
    EXPECT_FALSE(TIFFGetField(tiff, TIFFTAG_GEOPIXELSCALE, &count, &values));
    XTIFFClose(tiff);
    gdal_bounds(path);  // still WGS 84
    EXPECT_TRUE(
        log.has("warning", "No georeference data in product, using default EPSG:4326 (WGS 84)"));
}

}  // namespace
