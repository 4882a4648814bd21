#include "float_output.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

namespace {

namespace pb = qrd::pb::common;

constexpr double inf = std::numeric_limits<double>::infinity();
constexpr double nan = std::numeric_limits<double>::quiet_NaN();

template <typename T>
std::vector<std::uint8_t> bytes_of(const std::vector<T>& values) {
    std::vector<std::uint8_t> bytes(values.size() * sizeof(T));
    std::memcpy(bytes.data(), values.data(), bytes.size());
    return bytes;
}

template <typename T>
std::vector<T> values_of(const std::uint8_t* bytes, std::size_t count) {
    std::vector<T> values(count);
    std::memcpy(values.data(), bytes, count * sizeof(T));
    return values;
}

template <typename Bits, typename T>
Bits bits_of(T value) {
    Bits bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

void expect_statistics(const qrdcvt::BandStatistics& s, double minimum, double maximum, double mean,
                       double stddev, double valid_percent) {
    EXPECT_DOUBLE_EQ(s.minimum, minimum);
    EXPECT_DOUBLE_EQ(s.maximum, maximum);
    EXPECT_DOUBLE_EQ(s.mean, mean);
    EXPECT_DOUBLE_EQ(s.stddev, stddev);
    EXPECT_DOUBLE_EQ(s.valid_percent, valid_percent);
}

TEST(FloatThreshold, IsMinusNinetyNinePercentOfTheLargestFloat) {
    EXPECT_EQ(qrdcvt::invalid_float_threshold, -3.3687952317214356e38);
}

TEST(CleanFloatBand, TellsValidFromInvalidAtTheThreshold) {
    const double threshold = qrdcvt::invalid_float_threshold;
    const struct {
        double value;
        bool valid;
    } cases[] = {
        {0, true},          {-1e38, true},     {std::nextafter(threshold, 0.0), true},
        {threshold, false}, {-DBL_MAX, false}, {DBL_MAX, true},
        {inf, false},       {-inf, false},     {nan, false},
        {-nan, false},
    };
    for (const auto& c : cases) {
        std::vector<std::uint8_t> bytes = bytes_of(std::vector<double>{c.value});
        const qrdcvt::BandStatistics s = qrdcvt::clean_float_band(bytes.data(), pb::FLOAT64, 1, 1);
        EXPECT_EQ(s.valid_percent, c.valid ? 100 : 0) << c.value;
        const std::uint64_t written = values_of<std::uint64_t>(bytes.data(), 1)[0];
        if (c.valid) {
            EXPECT_EQ(written, bits_of<std::uint64_t>(c.value)) << c.value;
        } else {
            EXPECT_EQ(written, 0x7FF8000000000000u) << c.value;
        }
    }
}

TEST(CleanFloatBand, Float32FillValuesBecomeQuietNaNAndTheRestMakeTheStatistics) {
    const float fill = -FLT_MAX;
    const float signalling = bits_of<float>(0xFF800001u);
    std::vector<std::uint8_t> bytes = bytes_of(std::vector<float>{
        1, fill, std::numeric_limits<float>::infinity(), 3, signalling, -3.0e38f});
    const qrdcvt::BandStatistics s = qrdcvt::clean_float_band(bytes.data(), pb::FLOAT32, 3, 2);
    const std::vector<std::uint32_t> bits = values_of<std::uint32_t>(bytes.data(), 6);
    EXPECT_EQ(bits[0], bits_of<std::uint32_t>(1.0f));
    EXPECT_EQ(bits[1], 0x7FC00000u);
    EXPECT_EQ(bits[2], 0x7FC00000u);
    EXPECT_EQ(bits[3], bits_of<std::uint32_t>(3.0f));
    EXPECT_EQ(bits[4], 0x7FC00000u);
    EXPECT_EQ(bits[5], bits_of<std::uint32_t>(-3.0e38f));
    EXPECT_EQ(s.minimum, static_cast<double>(-3.0e38f));
    EXPECT_DOUBLE_EQ(s.valid_percent, 3.0 / 6 * 100);
}

TEST(CleanFloatBand, StatisticsOfDegenerateBands) {
    std::vector<std::uint8_t> none = bytes_of(std::vector<float>{NAN, NAN, NAN});
    expect_statistics(qrdcvt::clean_float_band(none.data(), pb::FLOAT32, 3, 1), 0, 0, 0, 0, 0);
    std::vector<std::uint8_t> equal = bytes_of(std::vector<double>{0.1, 0.1, 0.1});
    expect_statistics(qrdcvt::clean_float_band(equal.data(), pb::FLOAT64, 1, 3), 0.1, 0.1, 0.1, 0,
                      100);
}

TEST(FloatSampleBytes, IntegersBecomeFloatsWideEnoughToHoldThem) {
    const struct {
        pb::StorageType type;
        int bytes;
    } cases[] = {{pb::UINT8, 4},
                 {pb::UINT16, 4},
                 {pb::INT32, 8},
                 {pb::INT64, 8},
                 {pb::FLOAT32, 4},
                 {pb::FLOAT64, 8},
                 {pb::STORAGE_TYPE_UNSPECIFIED, 0},
                 {static_cast<pb::StorageType>(9), 0}};
    for (const auto& c : cases) EXPECT_EQ(qrdcvt::float_sample_bytes(c.type), c.bytes) << c.type;
}

pb::RasterData band_with_not_scanned(std::int32_t code) {
    pb::RasterData band;
    band.mutable_data_descriptor()->mutable_data_scale()->mutable_linear()->set_not_scanned(code);
    return band;
}

qrdcvt::SampleBlock block_of(const std::vector<std::uint8_t>& bytes) {
    qrdcvt::SampleBlock block = qrdcvt::SampleBlock::allocate(bytes.size());
    std::memcpy(block.data(), bytes.data(), bytes.size());
    return block;
}

TEST(IntegersToFloatBand, WritesExactValuesAndNaNForNotScanned) {
    const qrdcvt::FloatBand u16 = qrdcvt::integers_to_float_band(
        block_of(bytes_of(std::vector<std::uint16_t>{0, 65535, 4, 65534})), pb::UINT16,
        band_with_not_scanned(65535), 2, 2);
    ASSERT_EQ(u16.block.size, 16u);
    const std::vector<float> floats = values_of<float>(u16.block.data(), 4);
    EXPECT_EQ(floats[0], 0.0f);
    EXPECT_TRUE(std::isnan(floats[1]));
    EXPECT_EQ(floats[2], 4.0f);
    EXPECT_EQ(floats[3], 65534.0f);
    EXPECT_DOUBLE_EQ(u16.statistics.maximum, 65534);
    EXPECT_DOUBLE_EQ(u16.statistics.valid_percent, 75);

    // The code is compared at the width of the samples: -1 is UINT8's 255.
    const qrdcvt::FloatBand u8 = qrdcvt::integers_to_float_band(block_of({255, 7}), pb::UINT8,
                                                                band_with_not_scanned(-1), 2, 1);
    const std::vector<float> bytes = values_of<float>(u8.block.data(), 2);
    EXPECT_TRUE(std::isnan(bytes[0]));
    EXPECT_EQ(bytes[1], 7.0f);

    const std::int64_t big = (std::int64_t{1} << 53) + 0;
    const qrdcvt::FloatBand i64 =
        qrdcvt::integers_to_float_band(block_of(bytes_of(std::vector<std::int64_t>{-big, big})),
                                       pb::INT64, pb::RasterData(), 1, 2);
    ASSERT_EQ(i64.block.size, 16u);
    EXPECT_EQ(values_of<double>(i64.block.data(), 2),
              (std::vector<double>{-9007199254740992.0, 9007199254740992.0}));
    expect_statistics(i64.statistics, -9007199254740992.0, 9007199254740992.0, 0,
                      9007199254740992.0, 100);

    const qrdcvt::FloatBand i32 =
        qrdcvt::integers_to_float_band(block_of(bytes_of(std::vector<std::int32_t>{-32768, 5})),
                                       pb::INT32, band_with_not_scanned(-32768), 2, 1);
    const std::vector<double> doubles = values_of<double>(i32.block.data(), 2);
    EXPECT_TRUE(std::isnan(doubles[0]));
    EXPECT_EQ(doubles[1], 5.0);
    expect_statistics(i32.statistics, 5, 5, 5, 0, 50);
}

}  // namespace
