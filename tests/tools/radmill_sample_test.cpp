// radmill-sample through its command line: the files it writes are read back with the
// project's input reader and checked sample by sample.
#include <google/protobuf/util/message_differencer.h>
#include <gtest/gtest.h>
#include <lz4.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "input_reader.h"
#include "radmill_run.h"

namespace {

namespace pb = qrd::pb::common;
using Args = std::vector<std::string>;
using google::protobuf::util::MessageDifferencer;

// The bytes radmill-sample writes with args.
std::string sample_bytes(const Args& args) {
    const radmill_test::TempInstall scratch;
    const std::string path = scratch.path("sample.pb");
    Args all{"--output", path};
    all.insert(all.end(), args.begin(), args.end());
    const radmill_test::RunResult result = radmill_test::run_program(RADMILL_SAMPLE_BINARY, all);
    EXPECT_EQ(result.status, 0) << result.stderr_text;
    return radmill_test::file_exists(path) ? radmill_test::read_file(path) : std::string();
}

// A bare product file, read without the input reader.
pb::Product sample_product(const Args& args) {
    Args all{"--framing", "product"};
    all.insert(all.end(), args.begin(), args.end());
    pb::Product product;
    EXPECT_TRUE(product.ParseFromString(sample_bytes(all)));
    return product;
}

pb::InstrumentData read_back(const std::string& bytes) {
    pb::InstrumentData envelope;
    EXPECT_TRUE(qrdcvt::parse_input_file(bytes, envelope));
    return envelope;
}

const pb::RasterData& band(const pb::Product& product, int index) {
    return product.raster_data_list().raster_data(index);
}

template <typename T>
std::vector<T> samples_of(const std::string& bytes) {
    std::vector<T> values(bytes.size() / sizeof(T));
    std::memcpy(values.data(), bytes.data(), values.size() * sizeof(T));
    return values;
}

// The little-endian, uncompressed samples of a buffer, decoded independently of radmill.
std::string plain_samples(const pb::DataBuffer& buffer, std::size_t sample_size) {
    std::string bytes = buffer.data();
    if (buffer.compression() == pb::LZ4) {
        bytes.assign(static_cast<std::size_t>(buffer.uncompressed_size()), '\0');
        const int decoded =
            LZ4_decompress_safe(buffer.data().data(), bytes.data(),
                                static_cast<int>(buffer.data().size()), buffer.uncompressed_size());
        EXPECT_EQ(decoded, buffer.uncompressed_size());
    }
    if (buffer.endianness() == pb::BIG) {
        for (std::size_t at = 0; at + sample_size <= bytes.size(); at += sample_size) {
            std::reverse(bytes.begin() + at, bytes.begin() + at + sample_size);
        }
    }
    return bytes;
}

const Args small{"--width", "90", "--height", "60"};

Args with(Args args, const Args& more) {
    args.insert(args.end(), more.begin(), more.end());
    return args;
}

TEST(RadmillSample, EveryFramingReadsBackAsTheSameProduct) {
    for (const Args& options : {Args{}, with(small, {"--bands", "3", "--storage", "uint16",
                                                     "--compression", "lz4", "--endian", "big"})}) {
        const pb::Product expected = sample_product(options);
        ASSERT_GT(expected.raster_data_list().raster_data_size(), 0);
        for (const char* framing :
             {"envelope", "delimited-envelope", "delimited-product", "product"}) {
            SCOPED_TRACE(framing);
            const pb::InstrumentData envelope =
                read_back(sample_bytes(with(options, {"--framing", framing})));
            ASSERT_EQ(envelope.Payload_case(), pb::InstrumentData::kProduct);
            EXPECT_TRUE(MessageDifferencer::Equals(envelope.product(), expected));
        }

        const pb::InstrumentData envelope =
            read_back(sample_bytes(with(options, {"--framing", "delimited-volume"})));
        ASSERT_EQ(envelope.Payload_case(), pb::InstrumentData::kVolume);
        const pb::Volume& volume = envelope.volume();
        EXPECT_TRUE(
            MessageDifferencer::Equals(volume.instrument(), expected.source().instruments(0)));
        EXPECT_TRUE(
            MessageDifferencer::Equals(volume.scan_config(), expected.source().scan_config()));
        EXPECT_TRUE(MessageDifferencer::Equals(volume.time(), expected.time()));
        ASSERT_EQ(volume.sweeps_size(), expected.raster_data_list().raster_data_size());
        for (int i = 0; i < volume.sweeps_size(); ++i) {
            EXPECT_TRUE(MessageDifferencer::Equals(volume.sweeps(i), band(expected, i)));
        }
    }
}

TEST(RadmillSample, DefaultsDescribeOneReflectivityBandFromHilltop) {
    const pb::Product product = sample_product({});
    EXPECT_EQ(product.product_type(), pb::PPI);
    ASSERT_EQ(product.source().instruments_size(), 1);
    const pb::Instrument& instrument = product.source().instruments(0);
    EXPECT_EQ(instrument.name(), "Hilltop");
    EXPECT_EQ(instrument.hardware_name(), "WR-5000");
    EXPECT_EQ(instrument.location().position().latitude(), 60.2);
    EXPECT_EQ(instrument.location().position().longitude(), 24.9);
    EXPECT_EQ(instrument.location().altitude(), 30);
    EXPECT_EQ(instrument.height(), 20);
    ASSERT_EQ(product.source().scan_config().sweep().ppi().elevation_angles_size(), 1);
    EXPECT_EQ(product.source().scan_config().sweep().ppi().elevation_angles(0), 0.5);
    EXPECT_EQ(product.time().seconds(), 1717236000);

    ASSERT_EQ(product.raster_data_list().raster_data_size(), 1);
    const pb::RasterData& raster = band(product, 0);
    EXPECT_EQ(raster.width(), 600u);
    EXPECT_EQ(raster.height(), 400u);
    ASSERT_EQ(raster.data_buffers_size(), 1);
    const pb::DataBuffer& buffer = raster.data_buffers(0);
    EXPECT_EQ(buffer.storage_type(), pb::FLOAT32);
    EXPECT_EQ(buffer.compression(), pb::NONE);
    EXPECT_EQ(buffer.endianness(), pb::LITTLE);
    EXPECT_EQ(buffer.data().size(), 600u * 400u * 4u);

    const pb::Projection& projection = raster.geo_reference().projection();
    EXPECT_EQ(projection.epsg(), "EPSG:4326");
    const pb::BoundingBox& box = raster.geo_reference().bounding_box();
    EXPECT_NEAR((box.south_west().x() + box.north_east().x()) / 2, 24.9, 1e-9);
    EXPECT_NEAR((box.south_west().y() + box.north_east().y()) / 2, 60.2, 1e-9);
    // 1 km pixels: 400 km from south to north.
    EXPECT_NEAR(box.north_east().y() - box.south_west().y(), 400 / 111.32, 1e-6);
}

TEST(RadmillSample, BandsCycleThroughTheQuantities) {
    const struct {
        const char* name;
        const char* long_name;
        pb::Unit unit;
        pb::Polarization polarization;
        double step;
        double offset;
    } reflectivity{"DBZH", "Reflectivity", pb::DBZ, pb::HORIZONTAL, 0.5, -32},
        velocity{"VRADH", "Radial velocity", pb::METERS_PER_SECOND, pb::HORIZONTAL, 0.25, -32},
        rain{"RATE", "Rain rate", pb::MILLIMETERS_PER_HOUR, pb::POLARIZATION_UNSPECIFIED, 0.4, 0};
    const pb::Product product = sample_product(with(small, {"--bands", "4", "--quantity", "rain"}));
    ASSERT_EQ(product.raster_data_list().raster_data_size(), 4);
    int index = 0;
    for (const auto& expected : {rain, reflectivity, velocity, rain}) {
        SCOPED_TRACE(index);
        const pb::DataDescriptor& descriptor = band(product, index++).data_descriptor();
        EXPECT_EQ(descriptor.name(), expected.name);
        EXPECT_EQ(descriptor.long_name(), expected.long_name);
        EXPECT_EQ(descriptor.unit(), expected.unit);
        EXPECT_EQ(descriptor.polarization(), expected.polarization);
        ASSERT_EQ(descriptor.data_scale().scale_case(), pb::DataScale::kLinear);
        const pb::LinearScale& scale = descriptor.data_scale().linear();
        EXPECT_EQ(scale.step(), expected.step);
        EXPECT_EQ(scale.offset(), expected.offset);
        EXPECT_EQ(scale.under_threshold(), 0);
        EXPECT_EQ(scale.not_scanned(), 255);
    }
}

template <typename T>
std::vector<std::int64_t> widened(const std::string& bytes) {
    const std::vector<T> codes = samples_of<T>(bytes);
    return std::vector<std::int64_t>(codes.begin(), codes.end());
}

// Float storage holds physical values spanning the quantity's usual range, NaN where not
// scanned and the no-echo code 0; integer storage the nearest raw code of the same value.
TEST(RadmillSample, EveryStorageTypeHoldsTheSameWeather) {
    const struct {
        const char* quantity;
        float lowest_below;
        float highest_above;
    } quantities[] = {{"reflectivity", 5, 45}, {"velocity", -15, 15}, {"rain", 0.5f, 30}};
    const struct {
        const char* storage;
        std::vector<std::int64_t> (*codes_of)(const std::string&);
    } storages[] = {{"uint8", widened<std::uint8_t>},
                    {"uint16", widened<std::uint16_t>},
                    {"int32", widened<std::int32_t>},
                    {"int64", widened<std::int64_t>}};
    for (const auto& quantity : quantities) {
        SCOPED_TRACE(quantity.quantity);
        const Args options = with(small, {"--quantity", quantity.quantity});
        const pb::Product float_product = sample_product(options);
        const std::vector<float> values =
            samples_of<float>(band(float_product, 0).data_buffers(0).data());
        const pb::LinearScale& scale =
            band(float_product, 0).data_descriptor().data_scale().linear();

        std::size_t not_scanned = 0;
        std::size_t no_echo = 0;
        float lowest = INFINITY;
        float highest = -INFINITY;
        for (const float v : values) {
            if (std::isnan(v)) {
                ++not_scanned;
            } else if (v == 0.0f) {
                ++no_echo;
            } else {
                lowest = std::min(lowest, v);
                highest = std::max(highest, v);
            }
        }
        EXPECT_GT(not_scanned, 0u);
        EXPECT_GT(no_echo, 0u);
        EXPECT_LT(lowest, quantity.lowest_below);
        EXPECT_GT(highest, quantity.highest_above);

        for (const auto& storage : storages) {
            SCOPED_TRACE(storage.storage);
            const pb::Product product =
                sample_product(with(options, {"--storage", storage.storage}));
            const std::vector<std::int64_t> codes =
                storage.codes_of(band(product, 0).data_buffers(0).data());
            ASSERT_EQ(codes.size(), values.size());
            for (std::size_t i = 0; i < values.size(); ++i) {
                if (std::isnan(values[i])) {
                    ASSERT_EQ(codes[i], 255) << i;
                } else if (values[i] == 0.0f) {
                    ASSERT_EQ(codes[i], 0) << i;
                } else {
                    ASSERT_GE(codes[i], 1) << i;
                    ASSERT_LE(codes[i], 254) << i;
                    const double decoded = codes[i] * scale.step() + scale.offset();
                    const double in_range =
                        std::clamp<double>(values[i], scale.offset() + scale.step(),
                                           scale.offset() + 254 * scale.step());
                    ASSERT_NEAR(decoded, in_range, scale.step() / 2 + 1e-6) << i;
                }
            }
        }
    }
}

TEST(RadmillSample, ByteOrderAndCompressionKeepTheSamples) {
    const struct {
        const char* storage;
        std::size_t size;
    } storages[] = {{"uint8", 1}, {"uint16", 2}, {"int32", 4}, {"float32", 4}, {"float64", 8}};
    for (const auto& storage : storages) {
        const Args options = with(small, {"--storage", storage.storage});
        const std::string plain = band(sample_product(options), 0).data_buffers(0).data();
        for (const Args& variant : {Args{"--endian", "big"}, Args{"--compression", "lz4"},
                                    Args{"--endian", "big", "--compression", "lz4"}}) {
            std::string label = storage.storage;
            for (const std::string& arg : variant) label += " " + arg;
            SCOPED_TRACE(label);
            const pb::Product product = sample_product(with(options, variant));
            const pb::DataBuffer& buffer = band(product, 0).data_buffers(0);
            if (buffer.compression() == pb::LZ4) {
                EXPECT_EQ(buffer.uncompressed_size(), static_cast<std::int32_t>(plain.size()));
                EXPECT_LT(buffer.data().size(), plain.size());
            }
            if (buffer.endianness() == pb::BIG && storage.size > 1) {
                EXPECT_NE(plain_samples(buffer, 1), plain);
            }
            EXPECT_EQ(plain_samples(buffer, storage.size), plain);
        }
    }
}

TEST(RadmillSample, SiteAndProjectionOptionsReachTheProduct) {
    const pb::Product product = sample_product(with(
        small, {"--instrument", "Cape",          "--hardware", "X-9",  "--latitude",     "-33.9",
                "--longitude",  "18.4",          "--altitude", "5",    "--site-height",  "12",
                "--elevation",  "1.5",           "--time",     "1000", "--product-type", "12",
                "--projection", "parameters:utm"}));
    EXPECT_EQ(product.product_type(), 12);
    EXPECT_EQ(product.time().seconds(), 1000);
    const pb::Instrument& instrument = product.source().instruments(0);
    EXPECT_EQ(instrument.name(), "Cape");
    EXPECT_EQ(instrument.hardware_name(), "X-9");
    EXPECT_EQ(instrument.location().position().latitude(), -33.9);
    EXPECT_EQ(instrument.location().position().longitude(), 18.4);
    EXPECT_EQ(instrument.location().altitude(), 5);
    EXPECT_EQ(instrument.height(), 12);
    EXPECT_EQ(product.source().scan_config().sweep().ppi().elevation_angles(0), 1.5);

    const pb::GeoReference& reference = band(product, 0).geo_reference();
    const pb::ProjectionParameters& parameters = reference.projection().parameters();
    EXPECT_EQ(parameters.kind(), pb::UTM);
    EXPECT_EQ(parameters.center_latitude(), -33.9);
    EXPECT_EQ(parameters.center_longitude(), 18.4);
    // A southern zone, with its false northing of 10 000 km: 33.9 degrees south lies near
    // 6 250 km north.
    const double centre_y =
        (reference.bounding_box().south_west().y() + reference.bounding_box().north_east().y()) / 2;
    EXPECT_NEAR(centre_y, 6250000, 50000);
}

TEST(RadmillSample, ProjectionChoices) {
    // Geographic systems get degrees around the site; the projections whose origin is the site
    // get metres around 0, 0; every projected system gets 1 km pixels.
    const struct {
        const char* projection;
        const char* epsg;
        pb::ProjectionKind kind;
        bool degrees;
        bool origin_at_site;
    } cases[] = {
        {"geographic", "EPSG:4326", pb::PROJECTION_KIND_NONE, true, false},
        {"epsg:4258", "EPSG:4258", pb::PROJECTION_KIND_NONE, true, false},
        {"epsg:3067", "EPSG:3067", pb::PROJECTION_KIND_NONE, false, false},
        {"parameters:aeqd", "", pb::AZIMUTHAL_EQUIDISTANT, false, true},
        {"parameters:gnomonic", "", pb::GNOMONIC, false, true},
        {"parameters:tm", "", pb::TRANSVERSE_MERCATOR, false, true},
        {"parameters:lcc", "", pb::LAMBERT_CONFORMAL_CONIC, false, true},
        {"parameters:equirectangular", "", pb::EQUIRECTANGULAR, false, true},
        {"parameters:mercator", "", pb::MERCATOR, false, false},
        {"parameters:polar-stereographic", "", pb::POLAR_STEREOGRAPHIC, false, false},
        {"parameters:utm", "", pb::UTM, false, false},
        {"parameters:geostationary", "", pb::GEOSTATIONARY, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.projection);
        const pb::Product product = sample_product(with(small, {"--projection", c.projection}));
        const pb::GeoReference& reference = band(product, 0).geo_reference();
        EXPECT_EQ(reference.projection().epsg(), c.epsg);
        EXPECT_EQ(reference.projection().parameters().kind(), c.kind);
        const pb::BoundingBox& box = reference.bounding_box();
        const double centre_x = (box.south_west().x() + box.north_east().x()) / 2;
        const double centre_y = (box.south_west().y() + box.north_east().y()) / 2;
        if (c.degrees) {
            EXPECT_NEAR(centre_x, 24.9, 1e-9);
            EXPECT_NEAR(centre_y, 60.2, 1e-9);
            continue;
        }
        EXPECT_NEAR(box.north_east().x() - box.south_west().x(), 90000, 1e-6);
        EXPECT_NEAR(box.north_east().y() - box.south_west().y(), 60000, 1e-6);
        if (c.origin_at_site) {
            EXPECT_NEAR(centre_x, 0, 1e-3);
            EXPECT_NEAR(centre_y, 0, 1e-3);
        }
    }
    const pb::Product product =
        sample_product(with(small, {"--projection", "epsg:3067", "--bbox", "1,2,3.5,-4"}));
    const pb::BoundingBox& box = band(product, 0).geo_reference().bounding_box();
    EXPECT_EQ(box.south_west().x(), 1);
    EXPECT_EQ(box.south_west().y(), 2);
    EXPECT_EQ(box.north_east().x(), 3.5);
    EXPECT_EQ(box.north_east().y(), -4);
}

TEST(RadmillSample, HelpDocumentsEveryOption) {
    // The help goes to standard output; the shell hands it over on standard error.
    const radmill_test::RunResult result = radmill_test::run_program(
        "/bin/sh", {"-c", "exec \"$0\" --help 1>&2", RADMILL_SAMPLE_BINARY});
    EXPECT_EQ(result.status, 0);
    for (const char* option : {"--output",
                               "--width",
                               "--height",
                               "--storage",
                               "--compression",
                               "--endian",
                               "--bands",
                               "--framing",
                               "--projection",
                               "--bbox",
                               "--quantity",
                               "--instrument",
                               "--hardware",
                               "--latitude",
                               "--longitude",
                               "--altitude",
                               "--site-height",
                               "--elevation",
                               "--time",
                               "--product-type",
                               "delimited-volume",
                               "polar-stereographic",
                               "lcc"}) {
        EXPECT_NE(result.stderr_text.find(option), std::string::npos) << option;
    }
}

TEST(RadmillSample, BadOptionsGiveOneErrorLine) {
    const radmill_test::TempInstall scratch;
    const std::string path = scratch.path("never.pb");
    const struct {
        Args args;
        std::string message;
    } cases[] = {
        {{}, "radmill-sample: the option '--output' is required but missing\n"},
        {{"-o", path, "--storage", "uint32"},
         "radmill-sample: --storage: 'uint32' is not one of uint8, uint16, int32, int64, float32, "
         "float64\n"},
        {{"-o", path, "--framing", "delimited"},
         "radmill-sample: --framing: 'delimited' is not one of envelope, delimited-envelope, "
         "delimited-volume, delimited-product, product\n"},
        {{"-o", path, "--projection", "parameters:robinson"},
         "radmill-sample: --projection parameters: 'robinson' is not one of aeqd, mercator, "
         "polar-stereographic, utm, geostationary, equirectangular, gnomonic, tm, lcc\n"},
        {{"-o", path, "--projection", "epsg:99999999"},
         "radmill-sample: cannot build EPSG:99999999; give --bbox\n"},
        {{"-o", path, "--projection", "lambert"},
         "radmill-sample: --projection: 'lambert' is not geographic, epsg:CODE or "
         "parameters:KIND\n"},
        {{"-o", path, "--bbox", "1,2,3"},
         "radmill-sample: --bbox: expected west,south,east,north\n"},
        {{"-o", path, "--bbox", "1,2,x,4"}, "radmill-sample: --bbox: 'x' is not a finite number\n"},
        {{"-o", path, "--width", "0"},
         "radmill-sample: --width, --height and --bands must be at least 1\n"},
        {{"-o", path, "--width", "70000", "--height", "70000"},
         "radmill-sample: the bands exceed what one protobuf message can hold (2 GiB)\n"},
        {{"-o", scratch.path("missing/dir.pb")},
         "radmill-sample: cannot create " + scratch.path("missing/dir.pb") + "\n"},
        // A size whose volume bytes an earlier reading method happens to take.
        {{"-o", path, "--width", "35", "--height", "2", "--storage", "uint8", "--framing",
          "delimited-volume"},
         "radmill-sample: radmill would take these bytes for another framing by an accident of "
         "their length; change the size\n"},
        {{"-o", path, "--latitude", "91"},
         "radmill-sample: --latitude must lie between -90 and 90\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        const radmill_test::RunResult result =
            radmill_test::run_program(RADMILL_SAMPLE_BINARY, c.args);
        EXPECT_EQ(result.status, 1);
        EXPECT_EQ(result.stderr_text, c.message);
        EXPECT_FALSE(radmill_test::file_exists(path));
    }
}

}  // namespace
