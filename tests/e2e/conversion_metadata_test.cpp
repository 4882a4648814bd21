#include <cfloat>
#include <cmath>

#include "conversion_support.h"

namespace {

using namespace radmill_test;

const std::string may_day = "time { seconds: 1714564800 } ";  // 2024-05-01 12:00:00 UTC
const std::string site1 = "source { instruments { name: 'SITE1' } } ";
const std::string radar = may_day + R"(source {
    instruments { name: 'SITE1' hardware_name: 'HW-9' height: 23.4
                  location { altitude: 100 position { latitude: 60.25 longitude: 24.5 } } }
    scan_config { sweep { ppi { elevation_angles: 1.5 } } } })";
const std::string testq = R"(data_descriptor { name: 'TESTQ' long_name: 'Test quantity'
    unit: MILLIMETERS_PER_HOUR polarization: VERTICAL
    data_scale { linear { step: 0.1234567891 offset: -8 not_scanned: 255 } } })";

struct MetadataCase {
    const char* name;
    std::string product_text, band_text;
    std::vector<std::string> items;  // "NAME=value", or "NAME" for an item that must be absent
};

// clang-format off
const MetadataCase metadata_cases[] = {
    {"radar product", radar, testq, {
        "AREA_OR_POINT=Area", "DATA_TYPE_UNITS=mm/h", "DATETIME=2024-05-01T12:00:00",
        "DTYPE=FLOAT64", "ELEVATION_ANGLE=1.500000", "FIELD=TESTQ", "GROUND_HEIGHT=123.4m",
        "INGEST_HARDWARE_NAME=HW-9", "INGEST_SITE_ALVO_VERSION=10.5.2", "INGEST_SITE_NAME=SITE1",
        "LONG_NAME=Test quantity", "OFFSET=-8", "POLARIZATION=VERTICAL",
        "PPI_ELEVATION_ANGLE=1.500000", "RADAR=SITE1", "RADAR_LATITUDE=60.250000",
        "RADAR_LONGITUDE=24.500000", "SCALE=0.1234567891", "SOURCE=Weather Radar Data",
        "STANDARD_NAME=TESTQ", "STATISTICS_APPROXIMATE=YES", "STATISTICS_MAXIMUM=4",
        "STATISTICS_MEAN=2.333333333", "STATISTICS_MINIMUM=1", "STATISTICS_STDDEV=1.247219129",
        "STATISTICS_VALID_PERCENT=60.00", "TIFFTAG_DATETIME=2024:05:01 12:00:00",
        "TIFFTAG_IMAGEDESCRIPTION=SITE1 - TESTQ - Test quantity", "TIFFTAG_SOFTWARE=ALVO 10.5.2",
        "USAGE_POLICY=Authorized use of weather radar data. Please cite the source when "
        "reproducing this information.",
        "VARIABLE_TYPE=CONTINUOUS"}},
    {"no descriptor, nameless instrument, sweep without angles",
     "source { instruments { hardware_name: 'HW-9' height: 23.4 location { altitude: 100 } } "
     "scan_config { sweep { ppi { } } } }",
     "", {"INGEST_HARDWARE_NAME=HW-9", "GROUND_HEIGHT=123.4m", "STATISTICS_MEAN=2.333333333",
          "RADAR", "INGEST_SITE_NAME", "RADAR_LATITUDE", "ELEVATION_ANGLE", "DATETIME", "FIELD",
          "DTYPE", "SCALE", "OFFSET", "VARIABLE_TYPE"}},
    {"descriptor without linear scale", radar,
     "data_descriptor { name: 'TESTQ' unit: COUNT polarization: 4 quantity: CLASSIFICATION }",
     {"SCALE=1", "OFFSET=0", "LONG_NAME=TESTQ", "VARIABLE_TYPE=CATEGORICAL", "DTYPE=FLOAT64",
      "DATA_TYPE_UNITS", "POLARIZATION"}},
    // GDAL reads back every text with XML markup characters as it was.
    {"markup characters", R"(source { instruments { name: 'A&B "Hill"' } })",
     R"(data_descriptor { name: 'Rain & snow' long_name: '<rate> > "1" & a&amp;b' })",
     {"RADAR=A&B \"Hill\"", "FIELD=Rain & snow", "LONG_NAME=<rate> > \"1\" & a&amp;b",
      "TIFFTAG_IMAGEDESCRIPTION=A&B \"Hill\" - Rain & snow - <rate> > \"1\" & a&amp;b"}},
    {"colour scale found", radar, "data_descriptor { name: 'COLOURED' }",
     {"SCALE={'Product': 'COLOURED', 'RGBA_List': [{'Values': [-10, 20], 'RGBA': ['0', '0', "
      "'255', '255']}, {'Values': [20, ''], 'RGBA': ['255', '0', '0', '255']}]}", "OFFSET=0"}},
    // Without a palette scale the RGB family's counts.
    {"name holding the instrument", site1, "data_descriptor { name: 'SITE1 DBZ' }",
     {"TIFFTAG_IMAGEDESCRIPTION=SITE1 DBZ", "SCALE={'Product': 'SITE1 DBZ', 'RGBA_List': "
      "[{'Values': [0, 1], 'RGBA': ['1', '1', '1', '1']}]}"}},
    {"name in other case", site1, "data_descriptor { name: 'site1' }",
     {"TIFFTAG_IMAGEDESCRIPTION=SITE1 - site1"}},
    // The source's product name comes before the product's own.
    {"long name only", "name: 'OWN' source { product_name: 'CAPPI' }",
     "data_descriptor { long_name: 'L' }",
     {"TIFFTAG_IMAGEDESCRIPTION=CAPPI"}},
    {"product name", "source { instruments { name: 'SITE1' } product_name: 'CAPPI' }", "",
     {"TIFFTAG_IMAGEDESCRIPTION=SITE1 - CAPPI"}},
    {"no name at all", may_day, "",
     {"TIFFTAG_IMAGEDESCRIPTION=Weather Radar Product - 2024-05-01 12:00"}},
};
// clang-format on

TEST(ConversionMetadata, ItemsAndDescriptionFollowTheProduct) {
    for (const MetadataCase& c : metadata_cases) {
        SCOPED_TRACE(c.name);
        pb::Product product = raster_product(
            5, 1, pb::FLOAT32, raw_bytes<float>({1, -FLT_MAX, 2, HUGE_VALF, 4}), c.band_text);
        merge_text(product, c.product_text);
        Conversion conversion;
        // The palette family's scale comes first.
        write_file(conversion.config_dir() + "default_color_scales.json",
                   R"({"COLOURED": {"colors": [{"range": [0, 1], "rgba": [1, 1, 1, 1]}]},
                       "SITE1 DBZ": {"colors": [{"range": [0, 1], "rgba": [1, 1, 1, 1]}]}})");
        write_file(conversion.config_dir() + "default_color_scales_palette.json",
                   R"({"COLOURED": {"colors": [{"range": [-10, 20.5], "rgba": [0, 0, 255, 255]},
                                   {"range": [20.5, null], "rgba": [255, 0, 0, 255]}]}})");
        conversion.run(product, {"-t", "float"});
        const GdalFile file(conversion);
        for (const std::string& item : c.items) {
            const std::size_t equals = item.find('=');
            EXPECT_EQ(file.item(item.substr(0, equals)),
                      equals == std::string::npos ? "<absent>" : item.substr(equals + 1));
        }
    }
}

// (34.2 + 180) / 6 = 35.7 makes zone index 35: zone 36, whose central meridian is 33 degrees
// east; a rounded index would give zone 37 and 39 degrees.
TEST(ConversionMetadata, UtmZoneIndexIsTruncated) {
    const pb::Product product = raster_product(
        2, 2, pb::UINT8, "abcd",
        "geo_reference { projection { parameters { kind: UTM center_latitude: 60 "
        "center_longitude: 34.2 } } bounding_box { south_west { x: 499000 y: 6650000 } "
        "north_east { x: 501000 y: 6652000 } } }");
    const Conversion conversion(product, {});
    const GdalFile file(conversion);
    double transform[6] = {};
    ASSERT_EQ(GDALGetGeoTransform(GDALGetBandDataset(file.band()), transform), CE_None);
    EXPECT_NEAR(transform[0] + transform[1], 33, 1e-3);  // the middle of two columns
}

}  // namespace
