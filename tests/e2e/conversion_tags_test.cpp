#include <ctime>

#include "conversion_support.h"

namespace {

using namespace radmill_test;

constexpr std::int64_t may_day = 1714564800;  // 2024-05-01 12:00:00 UTC

TEST(ConversionTags, RowsPerStripHoldAtMostThirtyThousandPixels) {
    const struct {
        std::uint32_t width, height, rows;
    } cases[] = {{100, 50, 50}, {100, 400, 300}, {30001, 2, 1}, {7, 5000, 4285}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height));
        ConversionInstall install;
        const Conversion conversion =
            convert_product(install,
                            one_band_product(c.width, c.height, pb::UINT8,
                                             std::string(std::size_t{c.width} * c.height, '\x05')),
                            {"-t", "grayscale"});
        ASSERT_EQ(conversion.run.status, 0);
        EXPECT_EQ(tiff_rows_per_strip(conversion.output), c.rows);
        GdalFile file(conversion.output);
        EXPECT_EQ(file.pixels<std::uint8_t>(GDT_Byte),
                  std::vector<std::uint8_t>(std::size_t{c.width} * c.height, 5));
        EXPECT_EQ(file.messages(), 0);
    }
}

pb::Product described_product(const std::string& name, const std::string& long_name,
                              const std::string& instrument, const std::string& product_name) {
    pb::Product product = one_band_product(1, 1, pb::FLOAT32, raw_bytes<float>({1}));
    product.mutable_time()->set_seconds(may_day);
    if (!name.empty() || !long_name.empty()) {
        first_band(product).mutable_data_descriptor()->set_name(name);
        first_band(product).mutable_data_descriptor()->set_long_name(long_name);
    }
    if (!instrument.empty()) product.mutable_source()->add_instruments()->set_name(instrument);
    if (!product_name.empty()) product.mutable_source()->set_product_name(product_name);
    return product;
}

TEST(ConversionTags, DescriptionSoftwareAndDateTime) {
    const struct {
        pb::Product product;
        std::string description;
    } cases[] = {
        {described_product("DBZ", "Reflectivity", "SITE1", ""), "SITE1 - DBZ - Reflectivity"},
        {described_product("SITE1 DBZ", "", "SITE1", ""), "SITE1 DBZ"},
        {described_product("site1", "", "SITE1", ""), "SITE1 - site1"},
        {described_product("", "Long only", "", "CAPPI"), "CAPPI"},
        {described_product("", "", "SITE1", "CAPPI"), "SITE1 - CAPPI"},
        {described_product("", "", "", "CAPPI"), "CAPPI"},
        {described_product("", "", "", ""), "Weather Radar Product - 2024-05-01 12:00"},
    };
    for (const auto& c : cases) {
        ConversionInstall install;
        const Conversion conversion = convert_product(install, c.product, {"-t", "float"});
        ASSERT_EQ(conversion.run.status, 0);
        GdalFile file(conversion.output);
        EXPECT_EQ(file.item("TIFFTAG_IMAGEDESCRIPTION"), c.description);
        EXPECT_EQ(file.item("TIFFTAG_SOFTWARE"), "ALVO 10.5.2");
        EXPECT_EQ(file.item("TIFFTAG_DATETIME"), "2024:05:01 12:00:00");
        EXPECT_EQ(file.item("DATETIME"), "2024-05-01T12:00:00");
        EXPECT_EQ(file.messages(), 0);
    }
}

TEST(ConversionTags, WithoutProductTimeTheFileIsDatedNow) {
    pb::Product product = described_product("", "", "", "");
    product.clear_time();
    ConversionInstall install;
    const std::time_t before = std::time(nullptr);
    const Conversion conversion = convert_product(install, product, {"-t", "float"});
    ASSERT_EQ(conversion.run.status, 0);
    GdalFile file(conversion.output);
    EXPECT_EQ(file.item("DATETIME"), "<absent>");
    const std::string date_time = file.item("TIFFTAG_DATETIME");
    std::tm parsed{};
    ASSERT_NE(strptime(date_time.c_str(), "%Y:%m:%d %H:%M:%S", &parsed), nullptr) << date_time;
    const std::time_t stamped = timegm(&parsed);
    EXPECT_GE(stamped, before);
    EXPECT_LE(stamped, before + 60);
    char minute[32];
    std::strftime(minute, sizeof minute, "%Y-%m-%d %H:%M", &parsed);
    EXPECT_EQ(file.item("TIFFTAG_IMAGEDESCRIPTION"),
              std::string("Weather Radar Product - ") + minute);
}

}  // namespace
