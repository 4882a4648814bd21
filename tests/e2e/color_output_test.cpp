// Palette and rgb conversions through the radmill binary, read back with GDAL.
#include <array>
#include <limits>

#include "conversion_support.h"

namespace {

using namespace radmill_test;
using Rgba = std::array<int, 4>;
using Entries = std::vector<Rgba>;  // colour table entries 0, 1, 127, 128, 254 and 255

constexpr float nan = std::numeric_limits<float>::quiet_NaN();
constexpr float inf = std::numeric_limits<float>::infinity();

const Rgba grey = {180, 180, 180, 255}, clear_grey = {180, 180, 180, 0}, clear = {0, 0, 0, 0};
// Colours of the example reflectivity scale.
const Rgba dbz_5 = {160, 200, 255, 255}, dbz_10 = {80, 140, 255, 255}, dbz_30 = {0, 120, 0, 255},
           dbz_45 = {255, 140, 0, 255}, dbz_50 = {255, 0, 0, 255}, dbz_70 = {255, 0, 255, 255};
const Entries grey_ramp = {
    grey, {1, 1, 1, 255}, {127, 127, 127, 255}, {128, 128, 128, 255}, {254, 254, 254, 255}, grey};

Entries between_grey(const Rgba& colour) { return {grey, colour, colour, colour, colour, grey}; }

// FLOAT32 values in a row, by default reflectivity with not_scanned -999, under_threshold -998.
pb::Product floats(const std::vector<float>& values,
                   const std::string& data_scale =
                       "data_scale { linear { step: 1 not_scanned: -999 under_threshold: -998 } }",
                   std::uint32_t width = 0) {
    return raster_product(width != 0 ? width : static_cast<std::uint32_t>(values.size()), 1,
                          pb::FLOAT32, raw_bytes(values),
                          "data_descriptor { name: 'DBZH' " + data_scale + " }");
}

// Raw codes of a UINT8 reflectivity band.
pb::Product codes(const std::string& data_scale) {
    return raster_product(5, 1, pb::UINT8, raw_bytes<std::uint8_t>({0, 1, 100, 254, 255}),
                          "data_descriptor { name: 'DBZH' " + data_scale + " }");
}

TEST(ColorOutput, PaletteIndicesAndColourTable) {
    const struct {
        const char* name;
        pb::Product product;
        std::vector<double> indices;
        Entries entries;
        std::string record = "";  // one the log must hold
    } cases[] = {
        // clang-format off
        {"min, max, quarter, halfway, codes", floats({0, 100, 25, 50, nan, inf, -inf, -999, -998}),
         {1, 254, 64, 128, 0, 0, 0, 0, 255}, {grey, dbz_5, dbz_45, dbz_50, dbz_70, grey}},
        {"no scale", raster_product(2, 1, pb::FLOAT32, raw_bytes<float>({0, 100})), {1, 254},
         grey_ramp},
        {"all equal", floats({12.5f, nan, 12.5f}), {1, 0, 1}, between_grey(dbz_10)},
        // The range keeps its starting values, far above 70.
        {"no valid sample", floats({nan, -998, -999}), {0, 255, 0}, between_grey(dbz_70)},
        // Raw code k stands for k * 0.5 - 32: 1 -> -31.5, 127 -> 31.5, 128 -> 32, 254 -> 95.
        {"UINT8", codes("data_scale { linear { step: 0.5 offset: -32 not_scanned: 255 } }"),
         {0, 1, 100, 254, 255}, {grey, dbz_5, dbz_30, dbz_30, dbz_70, grey},
         "[debug] Palette colormap built for UINT8 data: index 1 -> value -31.5, index 254 -> "
         "value 95"},
        {"UINT8 without linear scale", codes(""), {0, 1, 100, 254, 255}, grey_ramp},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Conversion conversion(c.product, {"-t", "palette"});
        const GdalFile file(conversion);
        EXPECT_EQ(file.values(), c.indices);
        EXPECT_EQ(file.nodata(), "");
        EXPECT_EQ(GDALGetRasterColorInterpretation(file.band()), GCI_PaletteIndex);
        GDALColorTableH table = GDALGetRasterColorTable(file.band());
        ASSERT_NE(table, nullptr);
        EXPECT_EQ(GDALGetColorEntryCount(table), 256);
        Entries entries;
        for (int i : {0, 1, 127, 128, 254, 255}) {
            const GDALColorEntry* entry = GDALGetColorEntry(table, i);
            entries.push_back({entry->c1, entry->c2, entry->c3, entry->c4});
        }
        EXPECT_EQ(entries, c.entries);
        if (!c.record.empty()) {
            EXPECT_TRUE(conversion.logged(c.record));
        }
    }
}

TEST(ColorOutput, RgbaPixelsWithAlpha) {
    const struct {
        const char* name;
        pb::Product product;
        std::vector<Rgba> pixels;
    } cases[] = {
        // clang-format off
        // The under-threshold code stretches the range down to -998: entries 230, 242 and 254.
        {"coded samples", floats({0, 50, 100, nan, -998}),
         {dbz_5, dbz_45, dbz_70, clear_grey, clear_grey}},
        {"no codes", floats({0, 50, 100}, ""), {dbz_5, dbz_45, dbz_70}},
        {"all NaN", floats({nan, nan}), {clear_grey, clear_grey}},
        {"three channels, step 0.1",
         floats({25.6f, 51.2f, 76.8f, 1, nan, 2}, "data_scale { linear { step: 0.1 } }", 2),
         {{255, 255, 255, 255}, clear}},
        {"three channels, step 1",
         floats({25.6f, 51.2f, 76.8f, 1, 2, 3}, "data_scale { linear { step: 1 } }", 2),
         {{25, 51, 76, 255}, {1, 2, 3, 255}}},
        {"UINT8 bytes", raster_product(2, 1, pb::UINT8, {1, 2, 3, 4, 5, 6, 7, 8}),
         {{1, 2, 3, 4}, {5, 6, 7, 8}}},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Conversion conversion(c.product, {"-t", "rgb"});
        const GdalFile file(conversion);
        const std::vector<double> values = file.values();
        std::vector<Rgba> pixels;
        for (std::size_t i = 0; i + 4 <= values.size(); i += 4) {
            pixels.push_back(
                {int(values[i]), int(values[i + 1]), int(values[i + 2]), int(values[i + 3])});
        }
        EXPECT_EQ(pixels, c.pixels);
        EXPECT_EQ(GDALGetRasterColorInterpretation(file.band(4)), GCI_AlphaBand);
        EXPECT_EQ(file.nodata(), "");
    }
}

}  // namespace
