#include "conversion_support.h"

namespace {

using namespace radmill_test;

pb::Product radar_product() {
    pb::Product product = one_band_product(2, 1, pb::FLOAT32, raw_bytes<float>({1, 3}));
    product.mutable_time()->set_seconds(1714564800);
    pb::Instrument* instrument = product.mutable_source()->add_instruments();
    instrument->set_name("SITE1");
    instrument->set_hardware_name("HW-9");
    instrument->set_height(23.4);
    instrument->mutable_location()->set_altitude(100);
    instrument->mutable_location()->mutable_position()->set_latitude(60.25);
    instrument->mutable_location()->mutable_position()->set_longitude(24.5);
    product.mutable_source()
        ->mutable_scan_config()
        ->mutable_sweep()
        ->mutable_ppi()
        ->add_elevation_angles(1.5);
    pb::DataDescriptor* descriptor = first_band(product).mutable_data_descriptor();
    descriptor->set_name("TESTQ");
    descriptor->set_long_name("Test quantity");
    descriptor->set_unit(pb::MILLIMETERS_PER_HOUR);
    descriptor->set_polarization(pb::VERTICAL);
    set_linear_scale(first_band(product), 0.25, -8, 255);
    return product;
}

const std::vector<std::pair<std::string, std::string>> radar_items{
    {"AREA_OR_POINT", "Area"},
    {"DATETIME", "2024-05-01T12:00:00"},
    {"RADAR", "SITE1"},
    {"INGEST_SITE_NAME", "SITE1"},
    {"INGEST_HARDWARE_NAME", "HW-9"},
    {"GROUND_HEIGHT", "123.4m"},
    {"RADAR_LATITUDE", "60.250000"},
    {"RADAR_LONGITUDE", "24.500000"},
    {"INGEST_SITE_ALVO_VERSION", "10.5.2"},
    {"ELEVATION_ANGLE", "1.500000"},
    {"PPI_ELEVATION_ANGLE", "1.500000"},
    {"SOURCE", "Weather Radar Data"},
    {"USAGE_POLICY",
     "Authorized use of weather radar data. Please cite the source when reproducing this "
     "information."},
    {"FIELD", "TESTQ"},
    {"STANDARD_NAME", "TESTQ"},
    {"LONG_NAME", "Test quantity"},
    {"DTYPE", "FLOAT64"},
    {"DATA_TYPE_UNITS", "mm/h"},
    {"SCALE", "0.25"},
    {"OFFSET", "-8"},
    {"VARIABLE_TYPE", "CONTINUOUS"},
    {"POLARIZATION", "VERTICAL"},
    {"STATISTICS_MINIMUM", "1"},
    {"STATISTICS_MAXIMUM", "3"},
    {"STATISTICS_MEAN", "2"},
    {"STATISTICS_STDDEV", "1"},
    {"STATISTICS_VALID_PERCENT", "100.00"},
    {"STATISTICS_APPROXIMATE", "YES"},
};

std::vector<std::string> sorted_names(std::vector<std::string> names) {
    names.erase(
        std::remove_if(names.begin(), names.end(),
                       [](const std::string& name) { return name.rfind("TIFFTAG_", 0) == 0; }),
        names.end());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(ConversionMetadata, RadarQuantityScaleAndStatisticsItems) {
    ConversionInstall install;
    const Conversion conversion = convert_product(install, radar_product(), {"-t", "float"});
    ASSERT_EQ(conversion.run.status, 0);
    GdalFile file(conversion.output);
    std::vector<std::string> expected_names;
    for (const auto& [name, value] : radar_items) {
        EXPECT_EQ(file.item(name), value) << name;
        expected_names.push_back(name);
    }
    EXPECT_EQ(sorted_names(file.item_names()), sorted_names(expected_names));
    EXPECT_EQ(file.messages(), 0);
}

TEST(ConversionMetadata, ItemsLeftOutOrDefaultedWhenTheProductIsSilent) {
    pb::Product bare = radar_product();
    first_band(bare).clear_data_descriptor();
    pb::Instrument* instrument = bare.mutable_source()->mutable_instruments(0);
    instrument->clear_name();
    instrument->mutable_location()->clear_position();
    bare.mutable_source()->clear_scan_config();
    bare.clear_time();

    pb::Product unscaled = radar_product();
    first_band(unscaled).mutable_data_descriptor()->clear_data_scale();
    first_band(unscaled).mutable_data_descriptor()->set_unit(pb::COUNT);
    first_band(unscaled).mutable_data_descriptor()->set_polarization(
        static_cast<pb::Polarization>(4));
    first_band(unscaled).mutable_data_descriptor()->set_quantity(pb::CLASSIFICATION);

    const struct {
        const char* name;
        pb::Product product;
        std::vector<std::pair<std::string, std::string>> items;
    } cases[] = {
        {"no descriptor, nameless instrument",
         bare,
         {{"INGEST_HARDWARE_NAME", "HW-9"},
          {"GROUND_HEIGHT", "123.4m"},
          {"RADAR", "<absent>"},
          {"INGEST_SITE_NAME", "<absent>"},
          {"RADAR_LATITUDE", "<absent>"},
          {"ELEVATION_ANGLE", "<absent>"},
          {"DATETIME", "<absent>"},
          {"FIELD", "<absent>"},
          {"DTYPE", "<absent>"},
          {"SCALE", "<absent>"},
          {"OFFSET", "<absent>"},
          {"VARIABLE_TYPE", "<absent>"},
          {"STATISTICS_MEAN", "2"}}},
        {"descriptor without linear scale",
         unscaled,
         {{"SCALE", "1"},
          {"OFFSET", "0"},
          {"DATA_TYPE_UNITS", "<absent>"},
          {"POLARIZATION", "<absent>"},
          {"VARIABLE_TYPE", "CATEGORICAL"},
          {"DTYPE", "FLOAT64"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ConversionInstall install;
        const Conversion conversion = convert_product(install, c.product, {"-t", "grayscale"});
        ASSERT_EQ(conversion.run.status, 0);
        GdalFile file(conversion.output);
        for (const auto& [name, value] : c.items) EXPECT_EQ(file.item(name), value) << name;
        EXPECT_EQ(file.messages(), 0);
    }
}

TEST(ConversionMetadata, ScaleItemDescribesTheColourScaleFound) {
    ConversionInstall install;
    write_file(install.config_dir() + "default_color_scales_palette.json",
               R"({"TESTQ": {"colors": [{"range": [-10, 20.5], "rgba": [0, 0, 255, 255]},
                                        {"range": [20.5, null], "rgba": [255, 0, 0, 255]}]}})");
    const Conversion conversion = convert_product(install, radar_product(), {"-t", "float"});
    ASSERT_EQ(conversion.run.status, 0);
    GdalFile file(conversion.output);
    EXPECT_EQ(file.item("SCALE"),
              "{'Product': 'TESTQ', 'RGBA_List': [{'Values': [-10, 20], 'RGBA': ['0', '0', "
              "'255', '255']}, {'Values': [20, ''], 'RGBA': ['255', '0', '0', '255']}]}");
    EXPECT_EQ(file.item("OFFSET"), "-8");
    EXPECT_EQ(file.messages(), 0);
}

TEST(ConversionMetadata, GdalReadsBackTextsWithXmlMarkupCharacters) {
    pb::Product product = radar_product();
    product.mutable_source()->mutable_instruments(0)->set_name("A&B \"Hill\"");
    first_band(product).mutable_data_descriptor()->set_name("Rain & snow");
    first_band(product).mutable_data_descriptor()->set_long_name("<rate> > \"1\" & a&amp;b");
    ConversionInstall install;
    const Conversion conversion = convert_product(install, product, {"-t", "float"});
    ASSERT_EQ(conversion.run.status, 0);
    GdalFile file(conversion.output);
    EXPECT_EQ(file.item("RADAR"), "A&B \"Hill\"");
    EXPECT_EQ(file.item("FIELD"), "Rain & snow");
    EXPECT_EQ(file.item("LONG_NAME"), "<rate> > \"1\" & a&amp;b");
    EXPECT_EQ(file.item("TIFFTAG_IMAGEDESCRIPTION"),
              "A&B \"Hill\" - Rain & snow - <rate> > \"1\" & a&amp;b");
    EXPECT_EQ(file.item("STATISTICS_MEAN"), "2");
    EXPECT_EQ(file.messages(), 0);
}

}  // namespace
