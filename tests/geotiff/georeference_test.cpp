#include "georeference.h"
#include "radmill_run.h"
#include "simple_logger.h"

#include <fcntl.h>
#include <gdal_priv.h>
#include <gtest/gtest.h>
#include <ogr_spatialref.h>
#include <unistd.h>
#include <xtiffio.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <functional>
#include <limits>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace pb = qrd::pb::common;
using corvane::rs::wr::log::SimpleLogger;

constexpr std::uint32_t WIDTH = 400;
constexpr std::uint32_t HEIGHT = 200;
constexpr double DEGREE_TOLERANCE = 1e-7;

struct Rect {
    double west, south, east, north;
};

struct LogRecord {
    std::string level;
    std::string message;
    bool operator==(const LogRecord& other) const {
        return level == other.level && message == other.message;
    }
};

std::ostream& operator<<(std::ostream& out, const LogRecord& record) {
    return out << "[" << record.level << "] " << record.message;
}

// The logger is a process singleton: it writes to one file at debug level for all tests.
const radmill_test::TempInstall& scratch() {
    static const radmill_test::TempInstall install;
    static const bool ready = [] {
        GDALAllRegister();
        auto* log = SimpleLogger::getInstance("radmill");
        log->set_sink_off(STDERR_SINK);
        log->set_log_file(install.log_path().c_str(), false);
        log->get_logger()->set_level(spdlog::level::debug);
        return true;
    }();
    (void)ready;
    return install;
}

pb::RasterData band_at(const Rect& corners, const pb::Projection& projection = {}) {
    pb::RasterData band;
    pb::GeoReference* geo = band.mutable_geo_reference();
    *geo->mutable_projection() = projection;
    geo->mutable_bounding_box()->mutable_south_west()->set_x(corners.west);
    geo->mutable_bounding_box()->mutable_south_west()->set_y(corners.south);
    geo->mutable_bounding_box()->mutable_north_east()->set_x(corners.east);
    geo->mutable_bounding_box()->mutable_north_east()->set_y(corners.north);
    return band;
}

pb::Projection epsg(const std::string& text) {
    pb::Projection projection;
    projection.set_epsg(text);
    return projection;
}

pb::Projection forms(const std::string& epsg_text, const std::string& wkt,
                     const std::string& proj4 = "") {
    pb::Projection projection = epsg(epsg_text);
    projection.set_wkt(wkt);
    projection.set_proj4(proj4);
    return projection;
}

pb::Projection parameters(pb::ProjectionKind kind, double lat, double lon) {
    pb::Projection projection;
    projection.mutable_parameters()->set_kind(kind);
    projection.mutable_parameters()->set_center_latitude(lat);
    projection.mutable_parameters()->set_center_longitude(lon);
    projection.mutable_parameters()->set_standard_parallel_1(50);
    projection.mutable_parameters()->set_standard_parallel_2(70);
    return projection;
}

std::string wkt_of(const char* definition) {
    OGRSpatialReference reference;
    reference.SetFromUserInput(definition);
    char* text = nullptr;
    reference.exportToWkt(&text);
    const std::string wkt(text);
    CPLFree(text);
    return wkt;
}

struct Written {
    std::string path;
    std::vector<LogRecord> log;
};

// One 8-bit directory per band, each georeferenced by write_georeference; the log records the
// step wrote.
Written write_tiff(const std::vector<pb::RasterData>& bands) {
    static int count = 0;
    const std::string path = scratch().path("out" + std::to_string(++count) + ".tif");
    const std::size_t log_start = radmill_test::file_exists(scratch().log_path())
                                      ? radmill_test::read_file(scratch().log_path()).size()
                                      : 0;
    TIFF* tiff = XTIFFOpen(path.c_str(), "w");
    std::vector<std::uint8_t> pixels(WIDTH * HEIGHT);
    for (const auto& band : bands) {
        TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, WIDTH);
        TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, HEIGHT);
        TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, 8);
        TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, 1);
        TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, HEIGHT);
        TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISBLACK);
        TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
        GTIF* gtif = GTIFNew(tiff);
        qrdcvt::write_georeference(tiff, gtif, band, WIDTH, HEIGHT);
        TIFFWriteEncodedStrip(tiff, 0, pixels.data(), pixels.size());
        GTIFFree(gtif);
        if (&band != &bands.back()) TIFFWriteDirectory(tiff);
    }
    XTIFFClose(tiff);

    Written written{path, {}};
    std::istringstream lines(radmill_test::read_file(scratch().log_path()).substr(log_start));
    for (std::string line; std::getline(lines, line);) {
        written.log.push_back(
            {radmill_test::record_level(line), radmill_test::record_message(line)});
    }
    return written;
}

Written write_tiff(const pb::RasterData& band) { return write_tiff(std::vector{band}); }

struct ReadBack {
    bool has_transform = false;
    std::array<double, 6> transform{};
    std::string crs;  // "AUTHORITY:CODE"
    Rect bounds() const {
        return {transform[0], transform[3] + transform[5] * HEIGHT,
                transform[0] + transform[1] * WIDTH, transform[3]};
    }
};

ReadBack read_back(const std::string& name) {
    GDALDatasetUniquePtr dataset(GDALDataset::Open(name.c_str(), GDAL_OF_RASTER));
    if (!dataset) return {};
    ReadBack result;
    result.has_transform = dataset->GetGeoTransform(result.transform.data()) == CE_None;
    if (const OGRSpatialReference* crs = dataset->GetSpatialRef()) {
        const char* authority = crs->GetAuthorityName(nullptr);
        const char* code = crs->GetAuthorityCode(nullptr);
        if (authority && code) result.crs = std::string(authority) + ":" + code;
    }
    return result;
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
    double x[] = {corners.west, corners.east, corners.west, corners.east};
    double y[] = {corners.south, corners.south, corners.north, corners.north};
    EXPECT_TRUE(transformation && transformation->Transform(4, x, y));
    return {*std::min_element(x, x + 4), *std::min_element(y, y + 4), *std::max_element(x, x + 4),
            *std::max_element(y, y + 4)};
}

void expect_bounds_near(const Rect& actual, const Rect& expected) {
    EXPECT_NEAR(actual.west, expected.west, DEGREE_TOLERANCE);
    EXPECT_NEAR(actual.south, expected.south, DEGREE_TOLERANCE);
    EXPECT_NEAR(actual.east, expected.east, DEGREE_TOLERANCE);
    EXPECT_NEAR(actual.north, expected.north, DEGREE_TOLERANCE);
}

bool logged(const Written& written, const LogRecord& record) {
    return std::find(written.log.begin(), written.log.end(), record) != written.log.end();
}

// The four GeoTIFF keys as libgeotiff reads them back, 0 where a key is missing.
std::array<unsigned short, 4> wgs84_keys(const std::string& path) {
    TIFF* tiff = XTIFFOpen(path.c_str(), "r");
    GTIF* gtif = GTIFNew(tiff);
    std::array<unsigned short, 4> values{};
    const geokey_t keys[] = {GTRasterTypeGeoKey, GTModelTypeGeoKey, GeographicTypeGeoKey,
                             GeogAngularUnitsGeoKey};
    for (int i = 0; i < 4; ++i) GTIFKeyGet(gtif, keys[i], &values[i], 0, 1);
    GTIFFree(gtif);
    XTIFFClose(tiff);
    return values;
}

bool has_tag(const std::string& path, std::uint32_t tag) {
    TIFF* tiff = XTIFFOpen(path.c_str(), "r");
    std::uint16_t count = 0;
    double* values = nullptr;
    const bool found = TIFFGetField(tiff, tag, &count, &values) != 0;
    XTIFFClose(tiff);
    return found;
}

// What fn prints on standard error, at the descriptor level, so C libraries are caught too.
std::string captured_stderr(const std::function<void()>& fn) {
    const std::string path = scratch().path("stderr.txt");
    std::fflush(stderr);
    const int saved = dup(STDERR_FILENO);
    const int file = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    dup2(file, STDERR_FILENO);
    close(file);
    fn();
    std::fflush(stderr);
    dup2(saved, STDERR_FILENO);
    close(saved);
    return radmill_test::read_file(path);
}

const Rect FINLAND_TM35{100000, 6600000, 700000, 7700000};  // metres, EPSG:3067
const Rect PROJECTED_METRES{-200000, -150000, 250000, 300000};

TEST(GeoreferenceTest, GeographicCornersAreWrittenAsGiven) {
    const Written written = write_tiff(band_at({-10, 50, 30, 70}, epsg("EPSG:3067")));

    const ReadBack file = read_back(written.path);
    ASSERT_TRUE(file.has_transform);
    const std::array<double, 6> expected{-10, 0.1, 0, 70, 0, -0.1};
    for (int i = 0; i < 6; ++i) EXPECT_NEAR(file.transform[i], expected[i], 1e-12) << i;
    EXPECT_EQ(file.crs, "EPSG:4326");
    EXPECT_EQ(wgs84_keys(written.path), (std::array<unsigned short, 4>{1, 2, 4326, 9102}));
    const std::vector<LogRecord> log{
        {"info", "Original coordinates: SW(-10, 50) NE(30, 70)"},
        {"info", "Coordinates appear to be in geographic range, assuming WGS84"},
        {"info", "Setting GeoTIFF coordinate system to WGS84 (EPSG:4326)"},
        {"info", "Using original coordinates as WGS84"},
        {"debug", "GeoTIFF projection keys written"}};
    EXPECT_EQ(written.log, log);
}

TEST(GeoreferenceTest, ProjectedCornersGiveTheBoundingRectangleOfAllFour) {
    const Written written = write_tiff(band_at(FINLAND_TM35, epsg("EPSG:3067")));

    const ReadBack file = read_back(written.path);
    EXPECT_EQ(file.crs, "EPSG:4326");
    const Rect expected = ogr_bounds("EPSG:3067", FINLAND_TM35);
    expect_bounds_near(file.bounds(), expected);
    // The north-west corner lies west of the south-west one, so the two named corners
    // alone would not bound the raster.
    const Rect south_west_only = ogr_bounds("EPSG:3067", {100000, 6600000, 100000, 6600000});
    EXPECT_LT(file.bounds().west, south_west_only.west - 1);
    EXPECT_EQ(wgs84_keys(written.path), (std::array<unsigned short, 4>{1, 2, 4326, 9102}));

    ASSERT_EQ(written.log.size(), 6u);
    EXPECT_EQ(written.log[0],
              (LogRecord{"info", "Original coordinates: SW(100000, 6.6e+06) NE(700000, 7.7e+06)"}));
    EXPECT_EQ(written.log[1],
              (LogRecord{"info", "Coordinates are in projected system, transforming to WGS84"}));
    EXPECT_EQ(written.log[2].message.rfind("Transformed to WGS84: SW(", 0), 0u);
    EXPECT_EQ(written.log[4],
              (LogRecord{"info",
                         "Coordinate transformation applied: projected coordinates converted to "
                         "WGS84"}));
}

struct ConversionCase {
    const char* name;
    pb::Projection projection;
    Rect corners;
    std::string source;  // how OGR is told the same coordinate system in the check
};

void PrintTo(const ConversionCase& c, std::ostream* out) { *out << c.name; }

class ConversionTest : public ::testing::TestWithParam<ConversionCase> {};

TEST_P(ConversionTest, MatchesOgrsOwnConversion) {
    const ConversionCase& c = GetParam();
    const Written written = write_tiff(band_at(c.corners, c.projection));

    const ReadBack file = read_back(written.path);
    EXPECT_EQ(file.crs, "EPSG:4326");
    expect_bounds_near(file.bounds(), ogr_bounds(c.source, c.corners));
    EXPECT_TRUE(logged(written, {"info",
                                 "Coordinate transformation applied: projected coordinates "
                                 "converted to WGS84"}));
}

const Rect UTM35_NORTH{300000, 6600000, 500000, 6800000};
const Rect LAEA_EUROPE{4000000, 3000000, 5000000, 4000000};

std::vector<ConversionCase> form_cases() {
    const std::string laea = wkt_of("EPSG:3035");
    const char* utm35 = "+proj=utm +zone=35 +datum=WGS84 +units=m +no_defs";
    return {
        {"Epsg", epsg("EPSG:3067"), FINLAND_TM35, "EPSG:3067"},
        {"EpsgBeforeWkt", forms("EPSG:3067", laea), FINLAND_TM35, "EPSG:3067"},
        {"AnyAuthority", epsg("OTHER:3067"), FINLAND_TM35, "EPSG:3067"},
        {"EpsgReadLikeStrtol", epsg("EPSG: +3067 (TM35FIN)"), FINLAND_TM35, "EPSG:3067"},
        {"EpsgAfterFirstColon", epsg("EPSG:3067:2"), FINLAND_TM35, "EPSG:3067"},
        {"Wkt", forms("", laea), LAEA_EUROPE, "EPSG:3035"},
        {"EmptyCodeFallsToWkt", forms("EPSG:", laea), LAEA_EUROPE, "EPSG:3035"},
        {"TextCodeFallsToWkt", forms("EPSG:abc", laea), LAEA_EUROPE, "EPSG:3035"},
        // 2^32 + 3067: cut down to 32 bits it would read as 3067.
        {"CodeBeyondInt32FallsToWkt", forms("EPSG:4294970363", laea), LAEA_EUROPE, "EPSG:3035"},
        {"UnknownCodeFallsToWkt", forms("EPSG:999999", laea), LAEA_EUROPE, "EPSG:3035"},
        {"Proj4", forms("", "", utm35), UTM35_NORTH, utm35},
        {"BadWktFallsToProj4", forms("", "NOT WKT", utm35), UTM35_NORTH, utm35},
    };
}

INSTANTIATE_TEST_SUITE_P(Forms, ConversionTest, ::testing::ValuesIn(form_cases()),
                         [](const auto& info) { return std::string(info.param.name); });

// Centre 60 N 25 E, standard parallels 50 and 70; the PROJ strings are written out by hand.
const ConversionCase KIND_CASES[] = {
    {"AzimuthalEquidistant", parameters(pb::AZIMUTHAL_EQUIDISTANT, 60, 25), PROJECTED_METRES,
     "+proj=aeqd +lat_0=60 +lon_0=25 +x_0=0 +y_0=0 +datum=WGS84"},
    // OGR reads a non-zero centre latitude with unit scale as the true-scale latitude.
    {"Mercator", parameters(pb::MERCATOR, 60, 25), PROJECTED_METRES,
     "+proj=merc +lat_ts=60 +lon_0=25 +x_0=0 +y_0=0 +datum=WGS84"},
    {"PolarStereographic", parameters(pb::POLAR_STEREOGRAPHIC, 60, 25), PROJECTED_METRES,
     "+proj=stere +lat_0=90 +lat_ts=60 +lon_0=25 +x_0=0 +y_0=0 +datum=WGS84"},
    {"UtmNorth", parameters(pb::UTM, 60, 25), UTM35_NORTH, "EPSG:32635"},
    {"UtmSouth", parameters(pb::UTM, -33, 18), {200000, 6300000, 400000, 6400000}, "EPSG:32734"},
    // Far enough from the sub-satellite point for the satellite height to matter.
    {"Geostationary",
     parameters(pb::GEOSTATIONARY, 60, 25),
     {-2000000, 1000000, 3000000, 4000000},
     "+proj=geos +lon_0=25 +h=35786000 +x_0=0 +y_0=0 +datum=WGS84"},
    {"Equirectangular", parameters(pb::EQUIRECTANGULAR, 60, 25), PROJECTED_METRES,
     "+proj=eqc +lat_ts=0 +lat_0=60 +lon_0=25 +x_0=0 +y_0=0 +datum=WGS84"},
    {"Gnomonic", parameters(pb::GNOMONIC, 60, 25), PROJECTED_METRES,
     "+proj=gnom +lat_0=60 +lon_0=25 +x_0=0 +y_0=0 +datum=WGS84"},
    {"TransverseMercator", parameters(pb::TRANSVERSE_MERCATOR, 60, 25), PROJECTED_METRES,
     "+proj=tmerc +lat_0=60 +lon_0=25 +k=1 +x_0=0 +y_0=0 +datum=WGS84"},
    {"LambertConformalConic", parameters(pb::LAMBERT_CONFORMAL_CONIC, 60, 25), PROJECTED_METRES,
     "+proj=lcc +lat_0=60 +lon_0=25 +lat_1=50 +lat_2=70 +x_0=0 +y_0=0 +datum=WGS84"},
};

INSTANTIATE_TEST_SUITE_P(Kinds, ConversionTest, ::testing::ValuesIn(KIND_CASES),
                         [](const auto& info) { return std::string(info.param.name); });

struct FallbackCase {
    const char* name;
    pb::Projection projection;
};

const FallbackCase FALLBACK_CASES[] = {
    {"CodeWithoutColon", epsg("3067")},
    {"KindNone", parameters(pb::PROJECTION_KIND_NONE, 60, 25)},
    {"KindTen", parameters(static_cast<pb::ProjectionKind>(10), 60, 25)},
    {"EmptyProjection", pb::Projection()},
    {"OnlyBadTexts", forms("EPSG:abc", "NOT WKT", "+proj=nonsense")},
};

void PrintTo(const FallbackCase& c, std::ostream* out) { *out << c.name; }

class FallbackTest : public ::testing::TestWithParam<FallbackCase> {};

TEST_P(FallbackTest, MetresAreWrittenAsDegrees) {
    const Written written = write_tiff(band_at(FINLAND_TM35, GetParam().projection));

    const ReadBack file = read_back(written.path);
    EXPECT_EQ(file.crs, "EPSG:4326");
    expect_bounds_near(file.bounds(), FINLAND_TM35);
    EXPECT_TRUE(logged(
        written, {"warning", "Could not create spatial reference, using original coordinates"}));
    EXPECT_EQ(written.log.at(written.log.size() - 2),
              (LogRecord{"info", "Using original coordinates as WGS84"}));
}

INSTANTIATE_TEST_SUITE_P(Fallbacks, FallbackTest, ::testing::ValuesIn(FALLBACK_CASES),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(GeoreferenceTest, FailedTransformationKeepsTheCornersAsGiven) {
    // The south-west corner is below the satellite; the others miss the Earth's disc.
    const Rect off_disc{0, 0, 20000000, 20000000};
    const Written written = write_tiff(band_at(off_disc, parameters(pb::GEOSTATIONARY, 0, 25)));

    expect_bounds_near(read_back(written.path).bounds(), off_disc);
    EXPECT_TRUE(logged(
        written, {"warning", "Coordinate transformation failed, using original coordinates"}));
    EXPECT_TRUE(logged(written, {"info", "Using original coordinates as WGS84"}));
}

TEST(GeoreferenceTest, FailuresPrintNothingOnStandardError) {
    const std::string from_ogr = captured_stderr([] {
        OGRSpatialReference reference;
        reference.importFromEPSG(999999);
    });
    ASSERT_NE(from_ogr, "") << "the failing import should make OGR complain";

    const std::string from_step = captured_stderr([] {
        write_tiff(band_at(FINLAND_TM35, forms("EPSG:999999", "NOT WKT", "+proj=nonsense")));
        write_tiff(band_at({0, 0, 2e7, 2e7}, parameters(pb::GEOSTATIONARY, 0, 25)));
    });
    EXPECT_EQ(from_step, "");
}

TEST(GeoreferenceTest, BandWithoutGeoreferenceGetsKeysOnly) {
    pb::RasterData no_box = band_at(FINLAND_TM35, epsg("EPSG:3067"));
    no_box.mutable_geo_reference()->clear_bounding_box();
    pb::RasterData no_projection = band_at(FINLAND_TM35, epsg("EPSG:3067"));
    no_projection.mutable_geo_reference()->clear_projection();
    pb::RasterData empty_geo_reference;
    empty_geo_reference.mutable_geo_reference();

    for (const pb::RasterData& band :
         {pb::RasterData(), empty_geo_reference, no_box, no_projection}) {
        const Written written = write_tiff(band);
        SCOPED_TRACE(band.ShortDebugString());
        EXPECT_FALSE(has_tag(written.path, TIFFTAG_GEOTIEPOINTS));
        EXPECT_FALSE(has_tag(written.path, TIFFTAG_GEOPIXELSCALE));
        EXPECT_EQ(wgs84_keys(written.path), (std::array<unsigned short, 4>{1, 2, 4326, 9102}));
        const ReadBack file = read_back(written.path);
        EXPECT_FALSE(file.has_transform);
        EXPECT_EQ(file.crs, "EPSG:4326");
        const std::vector<LogRecord> log{
            {"warning", "No georeference data in product, using default EPSG:4326 (WGS 84)"},
            {"debug", "Default GeoTIFF CRS (EPSG:4326) written"}};
        EXPECT_EQ(written.log, log);
    }
}

TEST(GeoreferenceTest, OnlyCornersWithinLongitudeAndLatitudeRangeCountAsDegrees) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const struct {
        Rect corners;
        bool geographic;
    } cases[] = {
        {{-180, -90, 180, 90}, true}, {{-10, 50, 190, 70}, false},  {{-181, 50, 30, 70}, false},
        {{-10, -91, 30, 70}, false},  {{-10, 50, 30, 90.5}, false}, {{nan, 50, 30, 70}, false},
        {{200, 50, 30, 70}, true},  // only west >= -180 and east <= 180 are compared
    };
    for (const auto& c : cases) {
        const Written written = write_tiff(band_at(c.corners));
        SCOPED_TRACE(written.log.at(0).message);
        EXPECT_EQ(logged(written, {"info",
                                   "Coordinates appear to be in geographic range, "
                                   "assuming WGS84"}),
                  c.geographic);
        EXPECT_EQ(logged(written, {"info",
                                   "Coordinates are in projected system, transforming "
                                   "to WGS84"}),
                  !c.geographic);
    }
}

TEST(GeoreferenceTest, DegreesOutsideTheRangeAreConvertedLikeProjectedCorners) {
    const Rect past_antimeridian{-10, 50, 190, 70};
    const Written written = write_tiff(band_at(past_antimeridian, epsg("EPSG:4326")));

    expect_bounds_near(read_back(written.path).bounds(),
                       ogr_bounds("EPSG:4326", past_antimeridian));
    EXPECT_EQ(written.log.at(2).message.rfind("Transformed to WGS84: SW(", 0), 0u);
}

TEST(GeoreferenceTest, PixelScaleKeepsTheSignOfXAndNotOfY) {
    const Written east_before_west = write_tiff(band_at({30, 50, -10, 70}));
    const ReadBack mirrored = read_back(east_before_west.path);
    EXPECT_NEAR(mirrored.transform[0], 30, 1e-12);
    EXPECT_NEAR(mirrored.transform[1], -0.1, 1e-12);
    EXPECT_NEAR(mirrored.transform[5], -0.1, 1e-12);

    const Written north_before_south = write_tiff(band_at({-10, 70, 30, 50}));
    const ReadBack flipped = read_back(north_before_south.path);
    EXPECT_NEAR(flipped.transform[3], 50, 1e-12);
    EXPECT_NEAR(flipped.transform[5], -0.1, 1e-12);
}

TEST(GeoreferenceTest, EachDirectoryGetsItsOwnPlacement) {
    const Written written =
        write_tiff({band_at({-10, 50, 30, 70}), band_at(FINLAND_TM35, epsg("EPSG:3067"))});

    expect_bounds_near(read_back("GTIFF_DIR:1:" + written.path).bounds(), {-10, 50, 30, 70});
    expect_bounds_near(read_back("GTIFF_DIR:2:" + written.path).bounds(),
                       ogr_bounds("EPSG:3067", FINLAND_TM35));
}

}  // namespace
