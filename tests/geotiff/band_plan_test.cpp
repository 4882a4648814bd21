#include "band_plan.h"

#include <gtest/gtest.h>

#include <string>

#include "geotiff_test_support.h"

namespace {

namespace pb = qrd::pb::common;
using qrdcvt::OutputMode;

constexpr auto no_type = static_cast<pb::StorageType>(9);

// One row per mode and storage type that decide something different.
TEST(BandPlan, EachModeDecidesItsWholeLayoutOnce) {
    const struct {
        OutputMode mode;
        pb::StorageType type;
        bool scale;          // not_scanned 300
        std::string layout;  // photometric spp bits format alpha nodata
        std::uint64_t least, most;
        std::string outcome;  // the refusal, or the metadata log level
    } cases[] = {
        {OutputMode::SINGLE_BAND, pb::UINT16, false, "1 1 64 3 0 nan", 2, 8, "debug"},
        {OutputMode::SINGLE_BAND, pb::INT64, false, "1 1 64 3 0 nan", 0, 8, "debug"},
        {OutputMode::SINGLE_BAND, pb::FLOAT64, false, "1 1 64 3 0 nan", 8, 8, "debug"},
        {OutputMode::FLOAT, pb::UINT8, true, "1 1 32 3 0 nan", 1, 4, "trace"},
        {OutputMode::FLOAT, pb::UINT16, false, "1 1 32 3 0 nan", 2, 4, "trace"},
        {OutputMode::FLOAT, pb::INT32, false, "1 1 64 3 0 nan", 4, 8, "trace"},
        {OutputMode::FLOAT, pb::FLOAT32, false, "1 1 32 3 0 nan", 4, 4, "trace"},
        {OutputMode::FLOAT, no_type, false, "1 1 32 3 0 nan", 0, 0, "Unsupported storage type: 9"},
        {OutputMode::GRAYSCALE, pb::UINT8, false, "1 1 8 0 0 -", 0, 1, "none"},
        {OutputMode::GRAYSCALE, pb::UINT16, true, "1 1 16 1 0 300", 0, 2, "none"},
        {OutputMode::GRAYSCALE, pb::INT64, false, "1 1 64 2 0 -", 0, 8, "none"},
        {OutputMode::GRAYSCALE, pb::FLOAT64, true, "1 1 64 3 0 nan", 8, 8, "trace"},
        {OutputMode::GRAYSCALE, no_type, true, "1 1 8 0 0 300", 0, 0,
         "Unsupported storage type: 9"},
        {OutputMode::PALETTE, pb::UINT8, false, "3 1 8 0 0 -", 0, 1, "none"},
        {OutputMode::PALETTE, pb::FLOAT64, false, "3 1 8 0 0 -", 0, 8, "info"},
        {OutputMode::RGB, pb::UINT8, false, "2 4 8 0 1 -", 0, 4, "none"},
        {OutputMode::RGB, pb::FLOAT32, false, "2 4 8 0 1 -", 0, 12, "info"},
        {OutputMode::RGB, no_type, false, "2 4 8 0 1 -", 0, 4, "info"},
    };
    const char* const levels[] = {"trace", "debug", "info"};
    for (const auto& c : cases) {
        const qrdcvt::BandScale scale =
            c.scale ? geotiff_test::linear_scale(300, 301) : qrdcvt::BandScale{};
        const qrdcvt::ColorScaleChoice colors;
        const qrdcvt::BandPlan plan = qrdcvt::plan_band(c.mode, {c.type, 10, scale, colors});
        const qrdcvt::BandLayout& l = plan.layout;
        const std::string layout =
            std::to_string(l.photometric) + " " + std::to_string(l.samples_per_pixel) + " " +
            std::to_string(8 * l.bytes_per_sample) + " " + std::to_string(l.sample_format) + " " +
            std::to_string(l.alpha) + " " + (l.has_nodata ? l.nodata : "-");
        const std::string outcome = !plan.error.empty() ? plan.error
                                    : plan.metadata_level
                                        ? levels[static_cast<int>(*plan.metadata_level)]
                                        : "none";
        const std::string row = std::to_string(static_cast<int>(c.mode)) + "/" +
                                std::to_string(static_cast<int>(c.type));
        EXPECT_EQ(layout, c.layout) << row;
        if (plan.error.empty()) {
            EXPECT_EQ(plan.decoded_size.least, c.least) << row;
            EXPECT_EQ(plan.decoded_size.most, c.most) << row;
        }
        EXPECT_EQ(outcome, c.outcome) << row;
    }
}

// Palette and RGB note other storage types once the georeference is written.
TEST(BandPlan, PaletteAndRgbNoteSamplesThatAreNotBytes) {
    const qrdcvt::BandScale scale;
    const qrdcvt::ColorScaleChoice colors;
    for (const OutputMode mode : {OutputMode::PALETTE, OutputMode::RGB}) {
        EXPECT_FALSE(qrdcvt::plan_band(mode, {pb::UINT8, 1, scale, colors}).storage_note);
        const auto note = qrdcvt::plan_band(mode, {pb::INT32, 1, scale, colors}).storage_note;
        ASSERT_TRUE(note);
        EXPECT_EQ(note->text,
                  "Color palette/RGB image has non-UINT8 storage type (3), data may need "
                  "conversion");
    }
}

TEST(BandPlan, ConversionsRefuseWhatTheyCantRead) {
    const struct {
        OutputMode mode;
        pb::StorageType type;
        std::vector<float> values;
        std::string error;
    } cases[] = {
        {OutputMode::PALETTE,
         pb::FLOAT32,
         {1, 2, 3},
         "Float data size mismatch: expected 8 bytes, got 12 bytes"},
        {OutputMode::PALETTE,
         pb::FLOAT64,
         {1, 2},
         "Unsupported conversion from storage type 6 to UINT8 for palette"},
        {OutputMode::RGB,
         pb::FLOAT32,
         {1, 2, 3},
         "Unexpected data size for RGB: 12 bytes (expected 8 or 24)"},
        {OutputMode::RGB,
         pb::INT32,
         {1},
         "Unsupported conversion from storage type 3 to UINT8 for RGB"},
        {OutputMode::SINGLE_BAND,
         pb::INT64,
         {1, 2},
         "Unsupported storage type for single-band conversion: 4"},
    };
    for (const auto& c : cases) {
        const qrdcvt::ConvertedBand band =
            geotiff_test::convert_by_plan(c.mode, c.type, c.values, 2);
        EXPECT_FALSE(band.block);
        EXPECT_EQ(band.error, c.error);
    }
}

}  // namespace
