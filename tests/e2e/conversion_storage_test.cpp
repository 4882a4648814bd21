#include <cfloat>
#include <cmath>
#include <limits>

#include "conversion_support.h"

namespace {

using namespace radmill_test;

constexpr double nan = std::numeric_limits<double>::quiet_NaN();

struct StorageCase {
    const char* name;
    pb::StorageType type;
    std::size_t sample_size;
    std::string raw;  // six little-endian samples
    std::vector<double> values;
    GDALDataType grayscale_type;
    GDALDataType float_type;
};

const std::int64_t two53 = std::int64_t{1} << 53;

const StorageCase storage_cases[] = {
    {"uint8",
     pb::UINT8,
     1,
     raw_bytes<std::uint8_t>({0, 1, 200, 255, 7, 9}),
     {0, 1, 200, 255, 7, 9},
     GDT_Byte,
     GDT_Float32},
    {"uint16",
     pb::UINT16,
     2,
     raw_bytes<std::uint16_t>({0, 65535, 300, 1, 2, 3}),
     {0, 65535, 300, 1, 2, 3},
     GDT_UInt16,
     GDT_Float32},
    {"int32",
     pb::INT32,
     4,
     raw_bytes<std::int32_t>({INT32_MIN, INT32_MAX, -1, 0, 5, 6}),
     {INT32_MIN, INT32_MAX, -1, 0, 5, 6},
     GDT_Int32,
     GDT_Float64},
    {"int64",
     pb::INT64,
     8,
     raw_bytes<std::int64_t>({-two53, two53, -1, 0, 5, 6}),
     {-9007199254740992.0, 9007199254740992.0, -1, 0, 5, 6},
     GDT_Int64,
     GDT_Float64},
    {"float32",
     pb::FLOAT32,
     4,
     raw_bytes<float>({1.5f, -2.25f, 0, 3e38f, -7, 1e-30f}),
     {1.5, -2.25, 0, 3e38f, -7, 1e-30f},
     GDT_Float32,
     GDT_Float32},
    {"float64",
     pb::FLOAT64,
     8,
     raw_bytes<double>({1e300, -1e-300, 0, 0.1, -7, 2}),
     {1e300, -1e-300, 0, 0.1, -7, 2},
     GDT_Float64,
     GDT_Float64},
};

bool is_float(pb::StorageType type) { return type == pb::FLOAT32 || type == pb::FLOAT64; }

void expect_pixels(const GdalFile& file, const std::vector<double>& expected) {
    const std::vector<double> pixels = file.pixels<double>(GDT_Float64);
    ASSERT_EQ(pixels.size(), expected.size());
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        if (std::isnan(expected[i])) {
            EXPECT_TRUE(std::isnan(pixels[i])) << "pixel " << i << " is " << pixels[i];
        } else {
            EXPECT_EQ(pixels[i], expected[i]) << "pixel " << i;
        }
    }
}

// Converts a 3x2 band in each input encoding and colour type and reads it back.
void check_storage_type(const StorageCase& c, const std::string& encoding) {
    for (const char* color_type : {"grayscale", "float"}) {
        SCOPED_TRACE(std::string(c.name) + " " + encoding + " " + color_type);
        const bool float_mode = std::string(color_type) == "float";
        pb::Product product = one_band_product(3, 2, c.type, c.raw);
        pb::RasterData& band = first_band(product);
        pb::DataBuffer& buffer = *band.mutable_data_buffers(0);
        if (encoding == "big-endian") {
            buffer.set_data(big_endian(c.raw, c.sample_size));
            buffer.set_endianness(pb::BIG);
        } else if (encoding == "lz4") {
            compress_lz4(band, c.raw);
        }

        ConversionInstall install;
        const Conversion conversion = convert_product(install, product, {"-t", color_type});
        ASSERT_EQ(conversion.run.status, 0) << conversion.run.stderr_text;
        GdalFile file(conversion.output);
        ASSERT_TRUE(file.is_open());
        EXPECT_EQ(file.type(), float_mode ? c.float_type : c.grayscale_type);
        EXPECT_EQ(file.band_count(), 1);
        expect_pixels(file, c.values);
        const bool float_values = float_mode || is_float(c.type);
        EXPECT_EQ(file.has_nodata(), float_values);
        if (float_values) {
            EXPECT_TRUE(std::isnan(file.nodata()));
        }
        EXPECT_EQ(file.item("STATISTICS_VALID_PERCENT"), float_values ? "100.00" : "<absent>");
        EXPECT_EQ(file.messages(), 0);
        if (encoding == "big-endian" && c.sample_size > 1) {
            EXPECT_TRUE(conversion.logged("Byte-swapping 6 elements of size " +
                                          std::to_string(c.sample_size) +
                                          " bytes (data endian: BIG, host: LITTLE)"));
        }
    }
}

TEST(ConversionStorage, EveryStorageTypeInGrayscaleAndFloat) {
    for (const StorageCase& c : storage_cases) check_storage_type(c, "little-endian");
}

TEST(ConversionStorage, BigEndianInput) {
    for (const StorageCase& c : storage_cases) check_storage_type(c, "big-endian");
}

TEST(ConversionStorage, Lz4Input) {
    for (const StorageCase& c : storage_cases) check_storage_type(c, "lz4");
}

TEST(ConversionStorage, GrayscaleNodataComesFromTheNotScannedCode) {
    const struct {
        pb::StorageType type;
        std::string raw;
        std::vector<double> values;
        bool scaled;
        std::string nodata;  // empty: none
    } cases[] = {
        {pb::UINT16, raw_bytes<std::uint16_t>({65535, 1}), {65535, 1}, true, "65535"},
        {pb::INT32, raw_bytes<std::int32_t>({-32768, 1}), {-32768, 1}, true, "-32768"},
        {pb::UINT8, raw_bytes<std::uint8_t>({255, 1}), {255, 1}, false, ""},
        {pb::FLOAT32, raw_bytes<float>({1, 2}), {1, 2}, true, "nan"},
    };
    for (const auto& c : cases) {
        pb::Product product = one_band_product(2, 1, c.type, c.raw);
        if (c.scaled) {
            const std::int32_t code = c.nodata == "nan" ? 7 : std::stoi(c.nodata);
            set_linear_scale(first_band(product), 1, 0, code);
        }
        ConversionInstall install;
        const Conversion conversion = convert_product(install, product, {"-t", "grayscale"});
        ASSERT_EQ(conversion.run.status, 0);
        GdalFile file(conversion.output);
        SCOPED_TRACE(c.nodata);
        ASSERT_EQ(file.has_nodata(), !c.nodata.empty());
        if (c.nodata == "nan") {
            EXPECT_TRUE(std::isnan(file.nodata()));
            EXPECT_TRUE(conversion.logged("Setting GDAL NoData: nan (float data)"));
        } else if (!c.nodata.empty()) {
            EXPECT_EQ(file.nodata(), std::stod(c.nodata));
            EXPECT_TRUE(conversion.logged("GDAL_NODATA tag set to: " + c.nodata));
        } else {
            EXPECT_TRUE(
                conversion.logged("No nodata set for integer grayscale (no descriptor available)"));
        }
        expect_pixels(file, c.values);
        EXPECT_EQ(file.messages(), 0);
    }
}

TEST(ConversionStorage, FloatCleanupTurnsFillValuesIntoNaNAndWritesStatistics) {
    const float inf = std::numeric_limits<float>::infinity();
    for (const char* color_type : {"float", "grayscale"}) {
        SCOPED_TRACE(color_type);
        ConversionInstall install;
        const Conversion conversion = convert_product(
            install, one_band_product(4, 1, pb::FLOAT32, raw_bytes<float>({1, -FLT_MAX, inf, 3})),
            {"-t", color_type, "-l", "trace"});
        ASSERT_EQ(conversion.run.status, 0);
        GdalFile file(conversion.output);
        expect_pixels(file, {1, nan, nan, 3});
        EXPECT_EQ(file.item("STATISTICS_MINIMUM"), "1");
        EXPECT_EQ(file.item("STATISTICS_MAXIMUM"), "3");
        EXPECT_EQ(file.item("STATISTICS_MEAN"), "2");
        EXPECT_EQ(file.item("STATISTICS_STDDEV"), "1");
        EXPECT_EQ(file.item("STATISTICS_VALID_PERCENT"), "50.00");
        EXPECT_EQ(file.item("STATISTICS_APPROXIMATE"), "YES");
        EXPECT_TRUE(conversion.logged("Float data scan: valid=2, invalid=2, range=[1, 3]"));
        EXPECT_TRUE(conversion.logged("Converting 2 invalid values (inf/-inf/-FLT_MAX) to NaN"));
        EXPECT_TRUE(
            conversion.logged("Band statistics: min=1, max=3, mean=2, stddev=1, valid=50%"));
        EXPECT_TRUE(
            conversion.logged("GDAL_METADATA written with 10 fields (including statistics)"));
        EXPECT_EQ(file.messages(), 0);
    }
}

TEST(ConversionStorage, FloatOverIntegersWritesExactValuesWithNotScannedAsNaN) {
    pb::Product product =
        one_band_product(4, 1, pb::UINT16, raw_bytes<std::uint16_t>({65535, 10, 20, 65534}));
    set_linear_scale(first_band(product), 0.5, -32, 65535);
    ConversionInstall install;
    const Conversion conversion = convert_product(install, product, {"-t", "float"});
    ASSERT_EQ(conversion.run.status, 0);
    GdalFile file(conversion.output);
    EXPECT_EQ(file.type(), GDT_Float32);
    expect_pixels(file, {nan, 10, 20, 65534});  // codes, not physical values
    EXPECT_TRUE(std::isnan(file.nodata()));
    EXPECT_EQ(file.item("STATISTICS_MINIMUM"), "10");
    EXPECT_EQ(file.item("STATISTICS_MAXIMUM"), "65534");
    EXPECT_EQ(file.item("STATISTICS_VALID_PERCENT"), "75.00");
    EXPECT_TRUE(conversion.logged("Data storage type: 2, bytes per sample: 4"));
    EXPECT_EQ(file.messages(), 0);
}

}  // namespace
