#include "single_band_output.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

namespace {

namespace pb = qrd::pb::common;

constexpr double nan = std::numeric_limits<double>::quiet_NaN();

template <typename T>
qrdcvt::SampleBlock block_of(const std::vector<T>& values) {
    qrdcvt::SampleBlock block = qrdcvt::SampleBlock::allocate(values.size() * sizeof(T));
    std::memcpy(block.data(), values.data(), block.size);
    return block;
}

std::vector<double> doubles_of(const qrdcvt::SampleBlock& block) {
    std::vector<double> values(block.size / sizeof(double));
    std::memcpy(values.data(), block.data(), block.size);
    return values;
}

pb::RasterData scaled_band(double step, double offset, std::int32_t not_scanned) {
    pb::RasterData band;
    pb::LinearScale* linear =
        band.mutable_data_descriptor()->mutable_data_scale()->mutable_linear();
    linear->set_step(step);
    linear->set_offset(offset);
    linear->set_not_scanned(not_scanned);
    return band;
}

// NaN-aware equality of the physical values.
void expect_values(const std::vector<double>& actual, const std::vector<double>& expected) {
    ASSERT_EQ(actual.size(), expected.size());
    for (std::size_t i = 0; i < actual.size(); ++i) {
        if (std::isnan(expected[i])) {
            EXPECT_TRUE(std::isnan(actual[i])) << "sample " << i << " is " << actual[i];
        } else {
            EXPECT_EQ(actual[i], expected[i]) << "sample " << i;
        }
    }
}

TEST(ToFloat64Band, AppliesTheLinearScaleAndTurnsNotScannedIntoNaN) {
    const pb::RasterData scaled = scaled_band(0.5, -32, 255);
    const pb::RasterData signed_scale = scaled_band(2, 1, -1);
    const float inf = std::numeric_limits<float>::infinity();
    const struct {
        const char* name;
        qrdcvt::SampleBlock block;
        pb::StorageType type;
        pb::RasterData band;
        std::vector<double> expected;
    } cases[] = {
        {"uint8 scaled", block_of<std::uint8_t>({0, 1, 255}), pb::UINT8, scaled, {-32, -31.5, nan}},
        {"uint8 unscaled",
         block_of<std::uint8_t>({0, 1, 255}),
         pb::UINT8,
         pb::RasterData(),
         {0, 1, 255}},
        {"uint8 code narrowed",
         block_of<std::uint8_t>({255, 3, 0}),
         pb::UINT8,
         signed_scale,
         {nan, 7, 1}},
        {"uint16 code narrowed",
         block_of<std::uint16_t>({65535, 3, 0}),
         pb::UINT16,
         signed_scale,
         {nan, 7, 1}},
        {"int32",
         block_of<std::int32_t>({-1, -5, 1000000}),
         pb::INT32,
         signed_scale,
         {nan, -9, 2000001}},
        {"float32",
         block_of<float>({inf, NAN, -1, 2.5f, -inf, -FLT_MAX}),
         pb::FLOAT32,
         signed_scale,
         {nan, nan, nan, 6, nan, -2.0 * FLT_MAX + 1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::size_t count = c.expected.size();
        qrdcvt::SampleBlock block = qrdcvt::SampleBlock::allocate(c.block.size);
        std::memcpy(block.data(), c.block.data(), block.size);
        const qrdcvt::SampleBlock values =
            qrdcvt::to_float64_band(std::move(block), c.type, c.band, count, 1);
        ASSERT_EQ(values.size, count * 8);
        expect_values(doubles_of(values), c.expected);
    }
}

TEST(ToFloat64Band, KeepsFloat64AsStoredAndRefusesInt64) {
    qrdcvt::SampleBlock stored = block_of<double>({3, -1});
    const std::uint8_t* bytes = stored.data();
    const qrdcvt::SampleBlock same =
        qrdcvt::to_float64_band(std::move(stored), pb::FLOAT64, scaled_band(2, 0, 3), 2, 1);
    EXPECT_EQ(same.data(), bytes);
    expect_values(doubles_of(same), {3, -1});

    EXPECT_FALSE(
        qrdcvt::to_float64_band(block_of<std::int64_t>({1}), pb::INT64, pb::RasterData(), 1, 1));
    EXPECT_FALSE(qrdcvt::to_float64_band(block_of<std::uint8_t>({1}), pb::STORAGE_TYPE_UNSPECIFIED,
                                         pb::RasterData(), 1, 1));
}

TEST(SingleBandStatistics, CountsEveryFiniteValue) {
    const double inf = std::numeric_limits<double>::infinity();
    const std::vector<double> values{nan, -DBL_MAX, inf, DBL_MAX, -inf, nan, 2, 4};
    const qrdcvt::SampleBlock block = block_of(values);
    const qrdcvt::BandStatistics s = qrdcvt::single_band_statistics(block.data(), values.size());
    EXPECT_EQ(s.minimum, -DBL_MAX);
    EXPECT_EQ(s.maximum, DBL_MAX);
    EXPECT_DOUBLE_EQ(s.valid_percent, 50);

    const qrdcvt::SampleBlock simple = block_of<double>({1, 3, nan});
    const qrdcvt::BandStatistics t = qrdcvt::single_band_statistics(simple.data(), 3);
    EXPECT_EQ(t.minimum, 1);
    EXPECT_EQ(t.maximum, 3);
    EXPECT_EQ(t.mean, 2);
    EXPECT_EQ(t.stddev, 1);
    EXPECT_DOUBLE_EQ(t.valid_percent, 200.0 / 3);

    const qrdcvt::SampleBlock empty = block_of<double>({nan, inf});
    const qrdcvt::BandStatistics u = qrdcvt::single_band_statistics(empty.data(), 2);
    EXPECT_EQ(u.minimum, 0);
    EXPECT_EQ(u.maximum, 0);
    EXPECT_EQ(u.valid_percent, 0);
}

}  // namespace
