// Palette and rgb conversions through the radmill binary, read back with GDAL.
#include "conversion_support.h"

#include <gtest/gtest.h>

#include <array>
#include <limits>

namespace {

using namespace radmill_test;
using Rgba = std::array<std::uint8_t, 4>;

constexpr float nan_value = std::numeric_limits<float>::quiet_NaN();
constexpr float infinity = std::numeric_limits<float>::infinity();
constexpr int not_scanned = -999;
constexpr int under_threshold = -998;

const Rgba fallback_grey = {180, 180, 180, 255};
const Rgba transparent_grey = {180, 180, 180, 0};
// Colours of the example reflectivity scale that the tests reach.
const Rgba dbz_5_to_10 = {160, 200, 255, 255};
const Rgba dbz_15_to_20 = {0, 60, 230, 255};
const Rgba dbz_45_to_50 = {255, 140, 0, 255};
const Rgba dbz_50_to_55 = {255, 0, 0, 255};
const Rgba dbz_above_70 = {255, 0, 255, 255};

// A one-row product of values; product_name names its descriptor, which picks the scale.
pb::Product row_product(const std::vector<float>& values, const std::string& product_name,
                        bool with_codes = true, pb::StorageType type = pb::FLOAT32) {
    pb::Product product =
        one_band_product(static_cast<std::uint32_t>(values.size()), 1, type, raw_bytes(values));
    pb::RasterData& band = first_band(product);
    band.mutable_data_descriptor()->set_name(product_name);
    if (with_codes) {
        set_linear_scale(band, 1, 0, not_scanned);
        linear_scale(band).set_under_threshold(under_threshold);
    }
    return product;
}

std::vector<Rgba> color_table(const GdalFile& file) {
    std::vector<Rgba> colors;
    GDALColorTableH table = GDALGetRasterColorTable(file.band());
    for (int i = 0; table != nullptr && i < GDALGetColorEntryCount(table); ++i) {
        const GDALColorEntry* entry = GDALGetColorEntry(table, i);
        colors.push_back({static_cast<std::uint8_t>(entry->c1), static_cast<std::uint8_t>(entry->c2),
                          static_cast<std::uint8_t>(entry->c3),
                          static_cast<std::uint8_t>(entry->c4)});
    }
    return colors;
}

// Every pixel of a four-band file as red, green, blue, alpha.
std::vector<Rgba> rgba_pixels(const GdalFile& file) {
    const int width = GDALGetRasterXSize(file.dataset());
    const int height = GDALGetRasterYSize(file.dataset());
    std::vector<Rgba> pixels(static_cast<std::size_t>(width) * height);
    if (GDALDatasetRasterIO(file.dataset(), GF_Read, 0, 0, width, height, pixels.data(), width,
                            height, GDT_Byte, 4, nullptr, 4, 4 * width, 1) != CE_None) {
        pixels.clear();
    }
    return pixels;
}

bool any_band_has_nodata(const GdalFile& file) {
    for (int i = 1; i <= file.band_count(); ++i) {
        int has = 0;
        GDALGetRasterNoDataValue(GDALGetRasterBand(file.dataset(), i), &has);
        if (has != 0) return true;
    }
    return false;
}

TEST(PaletteOutput, IndicesOfEachKindOfBand) {
    struct Case {
        const char* name;
        std::vector<float> values;
        std::vector<std::uint8_t> indices;
    };
    const std::vector<Case> cases = {
        {"min, max, quarter, halfway and special samples",
         {0, 100, 25, 50, nan_value, infinity, -infinity, not_scanned, under_threshold},
         {1, 254, 64, 128, 0, 0, 0, 0, 255}},
        {"valid samples all equal", {12.5f, nan_value, 12.5f}, {1, 0, 1}},
        {"no valid sample", {nan_value, under_threshold, not_scanned}, {0, 255, 0}},
    };
    for (const Case& c : cases) {
        ConversionInstall install;
        const Conversion conversion =
            convert_product(install, row_product(c.values, "DBZH"), {"-t", "palette"});
        ASSERT_EQ(conversion.run.status, 0) << c.name << "\n" << install.log_text();
        GdalFile file(conversion.output);
        ASSERT_TRUE(file.is_open()) << c.name;
        EXPECT_EQ(file.pixels<std::uint8_t>(GDT_Byte), c.indices) << c.name;
        EXPECT_EQ(GDALGetRasterColorInterpretation(file.band()), GCI_PaletteIndex) << c.name;
        EXPECT_FALSE(file.has_nodata()) << c.name;
        EXPECT_EQ(file.messages(), 0) << c.name;
    }
}

TEST(PaletteOutput, ColorTableFromScaleOverDataRange) {
    ConversionInstall install;
    const Conversion conversion =
        convert_product(install, row_product({0, 100}, "DBZH"), {"-t", "palette"});
    ASSERT_EQ(conversion.run.status, 0) << install.log_text();
    GdalFile file(conversion.output);
    const std::vector<Rgba> colors = color_table(file);
    ASSERT_EQ(colors.size(), 256u);
    EXPECT_EQ(colors[0], fallback_grey);    // the scale's nodata colour
    EXPECT_EQ(colors[1], dbz_5_to_10);      // value 0, nearest interval
    EXPECT_EQ(colors[127], dbz_45_to_50);   // 49.8
    EXPECT_EQ(colors[128], dbz_50_to_55);   // 50.2
    EXPECT_EQ(colors[254], dbz_above_70);   // value 100
    EXPECT_EQ(colors[255], fallback_grey);  // the scale's no_echo colour
    EXPECT_TRUE(conversion.logged("Using color scale for instrument='' product='DBZH'"));
}

TEST(PaletteOutput, GreyColorTableWithoutScale) {
    ConversionInstall install;
    const Conversion conversion =
        convert_product(install, row_product({0, 100}, "NO SUCH PRODUCT"), {"-t", "palette"});
    ASSERT_EQ(conversion.run.status, 0) << install.log_text();
    GdalFile file(conversion.output);
    const std::vector<Rgba> colors = color_table(file);
    ASSERT_EQ(colors.size(), 256u);
    EXPECT_EQ(colors[0], fallback_grey);
    EXPECT_EQ(colors[1], (Rgba{1, 1, 1, 255}));
    EXPECT_EQ(colors[254], (Rgba{254, 254, 254, 255}));
    EXPECT_EQ(colors[255], fallback_grey);
    EXPECT_TRUE(conversion.logged("No palette color scale, using grayscale colormap"));
}

TEST(PaletteOutput, Uint8BandKeepsItsBytesAndGetsAColorTable) {
    const std::string raw_codes = {0, 1, 100, static_cast<char>(254), static_cast<char>(255)};
    struct Case {
        const char* name;
        bool linear_scale;
        std::string product_name;
        std::vector<Rgba> entries_1_100_254;
    };
    const std::vector<Case> cases = {
        // Raw code k stands for k * 0.5 - 32: 1 -> -31.5, 100 -> 18, 254 -> 95.
        {"scale and linear scale", true, "DBZH", {dbz_5_to_10, dbz_15_to_20, dbz_above_70}},
        {"no linear scale", false, "DBZH",
         {{1, 1, 1, 255}, {100, 100, 100, 255}, {254, 254, 254, 255}}},
        {"no scale", true, "NO SUCH PRODUCT",
         {{1, 1, 1, 255}, {100, 100, 100, 255}, {254, 254, 254, 255}}},
    };
    for (const Case& c : cases) {
        pb::Product product = one_band_product(5, 1, pb::UINT8, raw_codes);
        pb::RasterData& band = first_band(product);
        band.mutable_data_descriptor()->set_name(c.product_name);
        if (c.linear_scale) set_linear_scale(band, 0.5, -32, 255);
        ConversionInstall install;
        const Conversion conversion = convert_product(install, product, {"-t", "palette"});
        ASSERT_EQ(conversion.run.status, 0) << c.name << "\n" << install.log_text();
        GdalFile file(conversion.output);
        EXPECT_EQ(file.pixels<std::uint8_t>(GDT_Byte),
                  (std::vector<std::uint8_t>{0, 1, 100, 254, 255}))
            << c.name;
        const std::vector<Rgba> colors = color_table(file);
        ASSERT_EQ(colors.size(), 256u) << c.name;
        EXPECT_EQ(colors[0], fallback_grey) << c.name;
        EXPECT_EQ((std::vector<Rgba>{colors[1], colors[100], colors[254]}), c.entries_1_100_254)
            << c.name;
        EXPECT_EQ(colors[255], fallback_grey) << c.name;
        EXPECT_FALSE(file.has_nodata()) << c.name;
        EXPECT_EQ(file.messages(), 0) << c.name;
    }
}

TEST(RgbOutput, SingleChannelColouredWithAlpha) {
    ConversionInstall install;
    const Conversion conversion = convert_product(
        install, row_product({0, 50, 100, nan_value, under_threshold}, "DBZH"), {"-t", "rgb"});
    ASSERT_EQ(conversion.run.status, 0) << install.log_text();
    GdalFile file(conversion.output);
    ASSERT_EQ(file.band_count(), 4);
    EXPECT_EQ(GDALGetRasterColorInterpretation(GDALGetRasterBand(file.dataset(), 4)),
              GCI_AlphaBand);
    // The under-threshold code stretches the range down to -998, so 0, 50 and 100 land on
    // entries 230, 242 and 254: the colours at -3.8, 48.1 and 100.
    EXPECT_EQ(rgba_pixels(file),
              (std::vector<Rgba>{dbz_5_to_10, dbz_45_to_50, dbz_above_70, transparent_grey,
                                 transparent_grey}));
    EXPECT_FALSE(any_band_has_nodata(file));
    EXPECT_EQ(file.messages(), 0);
}

TEST(RgbOutput, SingleChannelTableEntriesAtDataValues) {
    ConversionInstall install;
    const Conversion conversion =
        convert_product(install, row_product({0, 50, 100}, "DBZH", false), {"-t", "rgb"});
    ASSERT_EQ(conversion.run.status, 0) << install.log_text();
    GdalFile file(conversion.output);
    // Entries 1, 127 and 254: the colours at 0.39, 50 and 100.
    EXPECT_EQ(rgba_pixels(file), (std::vector<Rgba>{dbz_5_to_10, dbz_45_to_50, dbz_above_70}));
}

TEST(RgbOutput, AllNanGivesTransparentImage) {
    ConversionInstall install;
    const Conversion conversion =
        convert_product(install, row_product({nan_value, nan_value}, "DBZH"), {"-t", "rgb"});
    ASSERT_EQ(conversion.run.status, 0) << install.log_text();
    GdalFile file(conversion.output);
    EXPECT_EQ(rgba_pixels(file), (std::vector<Rgba>{transparent_grey, transparent_grey}));
    EXPECT_TRUE(conversion.logged("All pixels are NaN - outputting transparent image"));
}

TEST(RgbOutput, ThreeChannelComponentsScaledToBytes) {
    struct Case {
        double step;
        std::vector<Rgba> pixels;
    };
    const std::vector<Case> cases = {
        {0.1, {{255, 255, 255, 255}, {0, 0, 0, 0}}},
        {1, {{25, 51, 76, 255}, {0, 0, 0, 0}}},
    };
    for (const Case& c : cases) {
        pb::Product product = one_band_product(
            2, 1, pb::FLOAT32, raw_bytes(std::vector<float>{25.6f, 51.2f, 76.8f, 1, nan_value, 2}));
        set_linear_scale(first_band(product), c.step, 0, not_scanned);
        ConversionInstall install;
        const Conversion conversion = convert_product(install, product, {"-t", "rgb"});
        ASSERT_EQ(conversion.run.status, 0) << install.log_text();
        GdalFile file(conversion.output);
        EXPECT_EQ(rgba_pixels(file), c.pixels) << "step " << c.step;
        EXPECT_FALSE(any_band_has_nodata(file));
    }
}

TEST(RgbOutput, Uint8BytesPassThroughAndMustHoldFourPerPixel) {
    const std::string rgba = {1, 2, 3, 4, 5, 6, 7, 8};
    {
        ConversionInstall install;
        const Conversion conversion =
            convert_product(install, one_band_product(2, 1, pb::UINT8, rgba), {"-t", "rgb"});
        ASSERT_EQ(conversion.run.status, 0) << install.log_text();
        GdalFile file(conversion.output);
        EXPECT_EQ(rgba_pixels(file), (std::vector<Rgba>{{1, 2, 3, 4}, {5, 6, 7, 8}}));
        EXPECT_FALSE(any_band_has_nodata(file));
    }
    ConversionInstall install;
    const Conversion conversion =
        convert_product(install, one_band_product(2, 1, pb::UINT8, "ab"), {"-t", "rgb"});
    EXPECT_EQ(conversion.run.status, 1);
    EXPECT_EQ(error_lines(install),
              std::vector<std::string>{"Data size mismatch: expected 8 bytes, got 2 bytes"});
}

TEST(ColorOutput, Float64BandsAreRejected) {
    const std::vector<double> values = {1, 2};
    for (const std::string mode : {"palette", "rgb"}) {
        ConversionInstall install;
        const Conversion conversion = convert_product(
            install, one_band_product(2, 1, pb::FLOAT64, raw_bytes(values)), {"-t", mode});
        EXPECT_EQ(conversion.run.status, 1) << mode;
        EXPECT_EQ(error_lines(install),
                  std::vector<std::string>{"Unsupported conversion from storage type 6 to UINT8 for " +
                                           std::string(mode == "rgb" ? "RGB" : "palette")})
            << mode;
    }
}

}  // namespace
