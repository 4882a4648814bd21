#include "input_reader.h"

#include <google/protobuf/io/zero_copy_stream_impl_lite.h>
#include <google/protobuf/util/delimited_message_util.h>
#include <google/protobuf/util/message_differencer.h>
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "product_files.h"
#include "radmill_run.h"
#include "simple_logger.h"

namespace {

namespace pb = qrd::pb::common;
using google::protobuf::util::MessageDifferencer;

const std::string try_1 = "Trying method 1: Raw InstrumentData parsing";
const std::string try_2 = "Trying method 2: Length-delimited InstrumentData parsing";
const std::string try_3 = "Trying method 3: Length-delimited Volume parsing";
const std::string try_4 = "Trying method 4: Length-delimited Product parsing";
const std::string try_5 = "Trying method 5: Raw Product parsing";
const std::vector<std::string> all_tried{try_1, try_2, try_3, try_4, try_5};

void sentinel_handler(google::protobuf::LogLevel, const char*, int, const std::string&) {}

// Sends the process-wide logger to a scratch file at debug level, so that each test can read
// back the lines that one call wrote.
class InputReaderTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        install_ = new radmill_test::TempInstall;
        auto* logger = corvane::rs::wr::log::SimpleLogger::getInstance("radmill");
        logger->set_sink_off(STDERR_SINK);
        logger->set_log_file(install_->log_path().c_str(), false);
        logger->get_logger()->set_level(spdlog::level::debug);
    }

    static void TearDownTestSuite() {
        delete install_;
        install_ = nullptr;
    }

    struct Outcome {
        bool accepted = false;
        pb::InstrumentData envelope;
        std::vector<std::string> log;  // messages written by the call
    };

    // Runs parse_input_file and checks that it logged at debug level only and left protobuf's
    // log handler reset.
    static Outcome parse(const std::string& bytes) {
        const std::size_t log_start = install_->log_text().size();
        google::protobuf::SetLogHandler(&sentinel_handler);
        Outcome outcome;
        outcome.accepted = qrdcvt::parse_input_file(bytes, outcome.envelope);
        // SetLogHandler answers null when the handler it replaces is the null handler.
        EXPECT_EQ(google::protobuf::SetLogHandler(nullptr), nullptr)
            << "the log handler was not reset";
        std::istringstream lines(install_->log_text().substr(log_start));
        for (std::string line; std::getline(lines, line);) {
            EXPECT_EQ(radmill_test::record_level(line), "debug") << line;
            outcome.log.push_back(radmill_test::record_message(line));
        }
        return outcome;
    }

  private:
    static radmill_test::TempInstall* install_;
};

radmill_test::TempInstall* InputReaderTest::install_ = nullptr;

std::string delimited(const google::protobuf::MessageLite& message) {
    std::string bytes;
    google::protobuf::io::StringOutputStream stream(&bytes);
    google::protobuf::util::SerializeDelimitedToZeroCopyStream(message, &stream);
    return bytes;
}

pb::Product raster_product(int product_type) {
    pb::Product product = radmill_test::one_band_product(
        2, 2, pb::FLOAT32, radmill_test::raw_bytes<float>({1, 2, 3, 4}));
    product.set_product_type(static_cast<pb::ProductType>(product_type));
    product.set_name("composite");
    return product;
}

pb::Volume plausible_volume() {
    pb::Volume volume;
    volume.mutable_instrument()->set_name("Hilltop");
    volume.mutable_scan_config()->mutable_sweep()->mutable_ppi()->add_elevation_angles(0.5);
    volume.mutable_time()->set_seconds(1717236000);
    return volume;
}

pb::InstrumentData envelope_with(const pb::Volume& volume) {
    pb::InstrumentData envelope;
    *envelope.mutable_volume() = volume;
    return envelope;
}

pb::InstrumentData envelope_with(const pb::Product& product) {
    pb::InstrumentData envelope;
    *envelope.mutable_product() = product;
    return envelope;
}

struct AcceptedCase {
    const char* name;
    std::string bytes;
    std::vector<std::string> log;
    pb::InstrumentData::PayloadCase payload_case;
    pb::InstrumentData expected;  // the envelope's payload must equal this one's
};

TEST_F(InputReaderTest, EachFramingIsTakenByItsMethod) {
    const pb::Product product = raster_product(12);
    const pb::Volume volume = plausible_volume();
    const std::vector<AcceptedCase> cases{
        {"bare envelope with a product",
         envelope_with(product).SerializeAsString(),
         {try_1, "Successfully parsed with method 1"},
         pb::InstrumentData::kProduct,
         envelope_with(product)},
        {"bare envelope with a volume",
         envelope_with(volume).SerializeAsString(),
         {try_1, "Successfully parsed with method 1"},
         pb::InstrumentData::kVolume,
         envelope_with(volume)},
        {"delimited envelope",
         delimited(envelope_with(product)),
         {try_1, try_2, "Successfully parsed with method 2"},
         pb::InstrumentData::kProduct,
         envelope_with(product)},
        {"delimited volume",
         delimited(volume),
         {try_1, try_2, try_3, "Successfully parsed Volume with method 3"},
         pb::InstrumentData::kVolume,
         envelope_with(volume)},
        {"delimited product",
         delimited(product),
         {try_1, try_2, try_3, try_4, "Successfully parsed Product with method 4 (type=12)"},
         pb::InstrumentData::kProduct,
         envelope_with(product)},
        {"bare product",
         product.SerializeAsString(),
         {try_1, try_2, try_3, try_4, try_5, "Successfully parsed Product with method 5 (type=12)"},
         pb::InstrumentData::kProduct,
         envelope_with(product)},
        {"bare envelope with fields this schema does not know",
         envelope_with(product).SerializeAsString() + "\x98\x06\x01",  // field 99 = 1
         {try_1, "Successfully parsed with method 1"},
         pb::InstrumentData::kProduct,
         envelope_with(product)},
        {"delimited envelope followed by more bytes",
         delimited(envelope_with(product)) + delimited(envelope_with(volume)) + "\xff\xff",
         {try_1, try_2, "Successfully parsed with method 2"},
         pb::InstrumentData::kProduct,
         envelope_with(product)},
        {"delimited product followed by more bytes",
         delimited(product) + "\x07trailing garbage",
         {try_1, try_2, try_3, try_4, "Successfully parsed Product with method 4 (type=12)"},
         pb::InstrumentData::kProduct,
         envelope_with(product)},
    };
    for (const AcceptedCase& c : cases) {
        SCOPED_TRACE(c.name);
        const Outcome outcome = parse(c.bytes);
        EXPECT_TRUE(outcome.accepted);
        EXPECT_EQ(outcome.log, c.log);
        ASSERT_EQ(outcome.envelope.Payload_case(), c.payload_case);
        if (c.payload_case == pb::InstrumentData::kProduct) {
            EXPECT_TRUE(
                MessageDifferencer::Equals(outcome.envelope.product(), c.expected.product()));
        } else {
            EXPECT_TRUE(MessageDifferencer::Equals(outcome.envelope.volume(), c.expected.volume()));
        }
    }
}

TEST_F(InputReaderTest, ImplausibleOrBrokenInputIsRefused) {
    pb::Product without_data = raster_product(12);
    without_data.clear_raster_data_list();
    pb::Volume without_scan = plausible_volume();
    without_scan.clear_scan_config();
    pb::Volume without_instrument = plausible_volume();
    without_instrument.clear_instrument();
    without_instrument.clear_time();  // keeps clear of the 26-byte case below
    const std::string envelope = envelope_with(raster_product(1)).SerializeAsString();

    const std::vector<std::pair<const char*, std::string>> cases{
        {"empty input", ""},
        {"bare product without data", without_data.SerializeAsString()},
        {"delimited product without data", delimited(without_data)},
        {"delimited volume without scan configuration", delimited(without_scan)},
        {"delimited volume without instrument", delimited(without_instrument)},
        {"delimited envelope without payload", delimited(pb::InstrumentData())},
        {"garbage", std::string("\xff\xfe\xfd\x00\x13garbage\x8f", 13)},
        {"truncated envelope", envelope.substr(0, envelope.size() / 2)},
        {"length prefix beyond the end", std::string("\xe8\x07\x0a\x00", 4)},
        {"unterminated length prefix", std::string("\xff\xff\xff\xff\xff\xff", 6)},
    };
    for (const auto& [name, bytes] : cases) {
        SCOPED_TRACE(name);
        const Outcome outcome = parse(bytes);
        EXPECT_FALSE(outcome.accepted);
        EXPECT_EQ(outcome.log, all_tried);
    }
}

// A raw envelope parse that fails leaves what it read so far in the envelope, and nothing
// clears it: method 2 merges into it and methods 3 to 5 replace only the payload.
TEST_F(InputReaderTest, LaterMethodsKeepWhatMethodOneLeft) {
    // The length prefix 0x82 0x01 of a 130-byte message reads as the tag of `sender` (field 16,
    // length-delimited), so method 1 fills `sender` before it fails.
    pb::Product product = raster_product(12);
    product.clear_name();
    product.set_name(std::string(130 - product.ByteSizeLong() - 2, 'n'));
    ASSERT_EQ(product.ByteSizeLong(), 130u);
    const Outcome product_outcome = parse(delimited(product));
    ASSERT_TRUE(product_outcome.accepted);
    EXPECT_EQ(product_outcome.log.back(), "Successfully parsed Product with method 4 (type=12)");
    EXPECT_FALSE(product_outcome.envelope.sender().empty());
    EXPECT_TRUE(MessageDifferencer::Equals(product_outcome.envelope.product(), product));

    // The length prefix 0x1a of a 26-byte message reads as the tag of `product`, so method 1
    // leaves a product payload behind, and method 2 then takes any 26-byte message.
    pb::Volume volume = plausible_volume();
    volume.clear_instrument();
    ASSERT_EQ(volume.ByteSizeLong(), 26u);
    const Outcome volume_outcome = parse(delimited(volume));
    EXPECT_TRUE(volume_outcome.accepted);
    EXPECT_EQ(volume_outcome.log.back(), "Successfully parsed with method 2");
    EXPECT_EQ(volume_outcome.envelope.Payload_case(), pb::InstrumentData::kProduct);
}

}  // namespace
