#include "rgba_output.h"

#include "color_scale_files.h"
#include "color_test_support.h"

#include <gdal.h>
#include <gtest/gtest.h>
#include <tiffio.h>

#include <limits>

namespace {

namespace pb = qrd::pb::common;
using color_test::band_with_scale;
using color_test::float_block;
using color_test::interval;
using color_test::LogCapture;
using color_test::Rgba;

constexpr float nan_value = std::numeric_limits<float>::quiet_NaN();
constexpr float infinity = std::numeric_limits<float>::infinity();
const Rgba transparent_grey = {180, 180, 180, 0};

std::vector<Rgba> pixels_of(const qrdcvt::SampleBlock& block) {
    std::vector<Rgba> pixels(block.size / 4);
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        std::copy(block.data() + 4 * i, block.data() + 4 * i + 4, pixels[i].begin());
    }
    return pixels;
}

// Converts values as a row of `width` pixels (single or three channels by their count).
std::vector<Rgba> convert_row(const std::vector<float>& values, std::uint32_t width,
                              const pb::RasterData& band, const std::string& product_name,
                              const qrdcvt::ColorTable& table = {}) {
    const qrdcvt::SampleBlock rgba = qrdcvt::convert_to_rgba(
        float_block(values), pb::FLOAT32, band, width, 1, "SITE", product_name, table);
    EXPECT_TRUE(rgba);
    EXPECT_EQ(rgba.size, std::size_t{width} * 4);
    return pixels_of(rgba);
}

std::vector<Rgba> convert_single(const std::vector<float>& values, const pb::RasterData& band,
                                 const std::string& product_name,
                                 const qrdcvt::ColorTable& table = {}) {
    return convert_row(values, static_cast<std::uint32_t>(values.size()), band, product_name,
                       table);
}

Rgba grey(std::uint8_t level) { return {level, level, level, 255}; }

TEST(RgbaSingleChannel, PixelsTakeScaleColoursAtTableEntries) {
    const Rgba a = {1, 1, 1, 255}, b = {2, 2, 2, 255}, c = {3, 3, 3, 255}, d = {4, 4, 4, 255},
               e = {5, 5, 5, 255};
    // Entry 1 stands for 100 / 254 = 0.39, entry 127 for 50 and entry 254 for 100.
    qrdcvt::ColorMapper scale;
    scale.scales = {interval(-10, 0.2f, a), interval(0.3f, 49.9f, b), interval(49.95f, 50.05f, c),
                    interval(50.1f, 99.9f, d), interval(100, infinity, e)};
    qrdcvt::default_color_scales["rgba entries"] = scale;

    LogCapture log;
    EXPECT_EQ(convert_single({0, 50, 100}, pb::RasterData(), "rgba entries"),
              (std::vector<Rgba>{b, c, e}));

    const std::vector<std::pair<std::string, std::string>> expected = {
        {"debug", "Converting from storage type 5 to UINT8 for RGB output"},
        {"debug", "Detected single-channel float data for RGB output (needs colormap)"},
        {"info", "Applying colormap conversion for RGB output"},
        {"info", "No colormap provided, generating grayscale ramp"},
        {"debug", "Data stats: valid=3, nan/inf=0, range=[0, 100]"},
        {"debug", "Using range [0, 100], range=100"},
        {"debug",
         "Building colormap with actual data values for instrument='SITE' product='rgba "
         "entries'"},
        {"debug",
         "Colormap built: index 0 -> nodata (grey), index 1 -> value 0, index 254 -> value "
         "100, index 255 -> no echo (grey)"},
        {"debug", "Colormap applied: 3 opaque pixels, 0 transparent pixels"},
        {"info", "RGB conversion completed: 12 bytes"},
    };
    EXPECT_EQ(log.records(), expected);
}

TEST(RgbaSingleChannel, PaletteScalesAreNotConsulted) {
    qrdcvt::ColorMapper scale;
    scale.scales = {interval(-1000, 1000, {9, 9, 9, 255})};
    qrdcvt::default_color_scales_palette["rgba palette only"] = scale;
    EXPECT_EQ(convert_single({0, 10}, pb::RasterData(), "rgba palette only"),
              (std::vector<Rgba>{grey(1), grey(254)}));
}

TEST(RgbaSingleChannel, AllInvalidGivesTransparentImage) {
    LogCapture log;
    EXPECT_EQ(convert_single({nan_value, infinity, -infinity}, pb::RasterData(), "rgba none"),
              (std::vector<Rgba>(3, transparent_grey)));
    EXPECT_TRUE(log.has("debug", "Data stats: valid=0, nan/inf=3, range=[3.40282e+38, "
                                 "-3.40282e+38]"));
    EXPECT_TRUE(log.has("debug", "All pixels are NaN - outputting transparent image"));
    EXPECT_TRUE(log.has("debug", "Using range [0, 1], range=1"));
    EXPECT_TRUE(log.has("debug", "Colormap applied: 0 opaque pixels, 3 transparent pixels"));
}

TEST(RgbaSingleChannel, SpecialCodesTransparentYetCountedInRange) {
    LogCapture log;
    // Range [-50, 200] from the codes: 0 lands on entry 50, 100 on entry 152.
    EXPECT_EQ(convert_single({-50, 200, 0, 100}, band_with_scale(200, -50), "rgba none"),
              (std::vector<Rgba>{transparent_grey, transparent_grey, grey(50), grey(152)}));
    EXPECT_TRUE(log.has("debug", "Using step=1, offset=0, nodata=200, under_threshold=-50"));
    EXPECT_TRUE(log.has("debug", "Data stats: valid=4, nan/inf=0, range=[-50, 200]"));
    EXPECT_TRUE(log.has("debug", "Colormap applied: 2 opaque pixels, 2 transparent pixels"));
}

TEST(RgbaSingleChannel, GreyRampWithoutScale) {
    LogCapture log;
    EXPECT_EQ(convert_single({3, 8, 5.5f}, pb::RasterData(), "rgba none"),
              (std::vector<Rgba>{grey(1), grey(254), grey(127)}));
    EXPECT_TRUE(log.has("info", "No color scale found, using grayscale colormap"));
}

TEST(RgbaSingleChannel, ConverterTableIsTheBaseWhenItHasColour) {
    qrdcvt::ColorTable table{};
    table[1] = {7, 8, 9, 0};
    table[254] = {0, 0, 1, 0};
    LogCapture log;
    EXPECT_EQ(convert_single({3, 8}, pb::RasterData(), "rgba none", table),
              (std::vector<Rgba>{{7, 8, 9, 255}, {0, 0, 1, 255}}));
    EXPECT_FALSE(log.has("info", "No colormap provided, generating grayscale ramp"));
}

TEST(RgbaSingleChannel, RangeBeyondFloatStaysDefined) {
    const float huge = std::numeric_limits<float>::max();
    EXPECT_EQ(convert_single({-huge, huge, 0}, pb::RasterData(), "rgba none"),
              (std::vector<Rgba>{grey(1), grey(254), grey(1)}));
}

TEST(RgbaThreeChannels, ComponentsScaledToBytes) {
    struct Case {
        const char* name;
        std::vector<float> components;
        pb::RasterData band;
        Rgba expected;
    };
    const std::vector<Case> cases = {
        {"step 0.1", {25.6f, 51.2f, 76.8f}, band_with_scale(-1, 7, 0.1), {255, 255, 255, 255}},
        {"step 1", {25.6f, 51.2f, 76.8f}, band_with_scale(-1, 7, 1), {25, 51, 76, 255}},
        {"offset", {10, 20, 30}, band_with_scale(-1, 7, 2, 4), {7, 12, 17, 255}},
        {"no linear scale", {1.9f, -0.5f, 255.5f}, pb::RasterData(), {1, 0, 255, 255}},
        {"NaN component", {1, nan_value, 2}, band_with_scale(-1, 7), {0, 0, 0, 0}},
        {"not-scanned component", {1, 2, -1}, band_with_scale(-1, 7), {0, 0, 0, 0}},
        {"under-threshold plays no part", {7, 7, 7}, band_with_scale(-1, 7), {7, 7, 7, 255}},
        {"infinite components", {infinity, -infinity, 1}, pb::RasterData(), {255, 0, 1, 255}},
        {"beyond int32", {1e30f, -1e30f, 3e9f}, pb::RasterData(), {255, 0, 255, 255}},
        {"step 0", {0, 5, -5}, band_with_scale(-1, 7, 0), {0, 255, 0, 255}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(convert_row(c.components, 1, c.band, "rgba none"), std::vector<Rgba>{c.expected})
            << c.name;
    }
}

TEST(RgbaThreeChannels, LogsDetection) {
    LogCapture log;
    convert_row({1, 2, 3, 4, 5, 6}, 2, pb::RasterData(), "rgba none");
    EXPECT_TRUE(log.has("debug", "Detected 3-channel RGB float data"));
    EXPECT_TRUE(log.has("info", "RGB conversion completed: 8 bytes"));
}

TEST(RgbaConversion, RejectsStorageTypesOtherThanFloat32) {
    for (const pb::StorageType type : {pb::FLOAT64, pb::INT32, pb::UINT16}) {
        LogCapture log;
        EXPECT_FALSE(qrdcvt::convert_to_rgba(float_block({1}), type, pb::RasterData(), 1, 1,
                                             "SITE", "rgba none", {}));
        EXPECT_TRUE(log.has("error", "Unsupported conversion from storage type " +
                                         std::to_string(type) + " to UINT8 for RGB"));
    }
}

TEST(RgbaConversion, RejectsUnexpectedSize) {
    LogCapture log;
    EXPECT_FALSE(qrdcvt::convert_to_rgba(float_block({1, 2}), pb::FLOAT32, pb::RasterData(), 1,
                                         1, "SITE", "rgba none", {}));
    EXPECT_TRUE(log.has("error", "Unexpected data size for RGB: 8 bytes (expected 4 or 12)"));
}

TEST(RgbaLayout, AlphaBandWithoutNodata) {
    LogCapture log;
    radmill_test::TempInstall scratch;
    const std::string path = scratch.path("rgba.tif");
    TIFF* tiff = TIFFOpen(path.c_str(), "w");
    TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, 2);
    TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, 1);
    TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, 1);
    const qrdcvt::BandLayout layout = qrdcvt::rgba_layout(tiff);
    EXPECT_EQ(layout.samples_per_pixel, 4);
    EXPECT_EQ(layout.bytes_per_sample, 1);
    EXPECT_FALSE(layout.has_nodata);
    TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, 8 * layout.bytes_per_sample);
    TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, layout.samples_per_pixel);
    const qrdcvt::SampleBlock rgba = qrdcvt::convert_to_rgba(
        float_block({nan_value, 4}), pb::FLOAT32, pb::RasterData(), 2, 1, "SITE", "rgba none", {});
    ASSERT_TRUE(rgba);
    TIFFWriteEncodedStrip(tiff, 0, rgba.data(), static_cast<tmsize_t>(rgba.size));
    TIFFClose(tiff);

    GDALAllRegister();
    GDALDatasetH dataset = GDALOpen(path.c_str(), GA_ReadOnly);
    ASSERT_NE(dataset, nullptr);
    ASSERT_EQ(GDALGetRasterCount(dataset), 4);
    const GDALColorInterp expected[] = {GCI_RedBand, GCI_GreenBand, GCI_BlueBand, GCI_AlphaBand};
    std::vector<std::uint8_t> values;
    for (int i = 1; i <= 4; ++i) {
        GDALRasterBandH band = GDALGetRasterBand(dataset, i);
        EXPECT_EQ(GDALGetRasterColorInterpretation(band), expected[i - 1]) << "band " << i;
        int has_nodata = 0;
        GDALGetRasterNoDataValue(band, &has_nodata);
        EXPECT_FALSE(has_nodata) << "band " << i;
        std::uint8_t row[2] = {};
        EXPECT_EQ(GDALRasterIO(band, GF_Read, 0, 0, 2, 1, row, 2, 1, GDT_Byte, 0, 0), CE_None);
        values.insert(values.end(), row, row + 2);
    }
    GDALClose(dataset);
    // Band by band: the transparent pixel, then the opaque one (grey 1).
    EXPECT_EQ(values, (std::vector<std::uint8_t>{180, 1, 180, 1, 180, 1, 0, 255}));
    EXPECT_TRUE(log.has("info", "Using RGB color type with alpha channel"));
    EXPECT_TRUE(
        log.has("debug", "RGBA mode: transparency handled via alpha channel (no GDAL nodata)"));
}

}  // namespace
