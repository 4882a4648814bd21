#include "input_reader.h"

#include <google/protobuf/io/zero_copy_stream_impl_lite.h>
#include <google/protobuf/util/delimited_message_util.h>
#include <google/protobuf/util/message_differencer.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "product_files.h"
#include "radmill_run.h"
#include "simple_logger.h"

namespace {

namespace pb = qrd::pb::common;
using google::protobuf::util::MessageDifferencer;
using Lines = std::vector<std::string>;

const Lines all_tried{"Trying method 1: Raw InstrumentData parsing",
                      "Trying method 2: Length-delimited InstrumentData parsing",
                      "Trying method 3: Length-delimited Volume parsing",
                      "Trying method 4: Length-delimited Product parsing",
                      "Trying method 5: Raw Product parsing"};

void sentinel_handler(google::protobuf::LogLevel, const char*, int, const std::string&) {}

struct Outcome {
    bool accepted = false;
    pb::InstrumentData envelope;
    Lines log;
};

// Runs parse_input_file with the logger at debug level on standard error, its initial output,
// and checks that it logged at debug level only and left protobuf's log handler reset.
Outcome parse(const std::string& bytes) {
    corvane::rs::wr::log::SimpleLogger::getInstance("radmill")->get_logger()->set_level(
        spdlog::level::debug);
    google::protobuf::SetLogHandler(&sentinel_handler);
    Outcome outcome;
    ::testing::internal::CaptureStderr();
    outcome.accepted = qrdcvt::parse_input_file(bytes, outcome.envelope);
    // SetLogHandler answers null when the handler it replaces is the null handler.
    EXPECT_EQ(google::protobuf::SetLogHandler(nullptr), nullptr) << "handler not reset";
    // Records of other levels keep their level, which no expectation has.
    for (const std::string& record :
         radmill_test::log_records(::testing::internal::GetCapturedStderr())) {
        outcome.log.push_back(record.rfind("[debug] ", 0) == 0 ? record.substr(8) : record);
    }
    return outcome;
}

std::string delimited(const google::protobuf::MessageLite& message) {
    std::string bytes;
    google::protobuf::io::StringOutputStream stream(&bytes);
    google::protobuf::util::SerializeDelimitedToZeroCopyStream(message, &stream);
    return bytes;
}

pb::Product raster_product() {
    pb::Product product = radmill_test::raster_product(2, 2, pb::FLOAT32, "0123456789abcdef");
    radmill_test::merge_text(product, "product_type: COMPOSITE");  // 12
    return product;
}

pb::Volume plausible_volume() {
    pb::Volume volume;
    radmill_test::merge_text(volume,
                             "instrument { name: 'Hilltop' } time { seconds: 1717236000 } "
                             "scan_config { sweep { ppi { elevation_angles: 0.5 } } }");
    return volume;
}

// Each input is taken by the first method whose result is plausible, or refused after five.
TEST(InputReader, EachInputIsTakenByTheFirstPlausibleMethod) {
    const pb::Product product = raster_product();
    const pb::Volume volume = plausible_volume();
    pb::InstrumentData product_envelope, volume_envelope;
    *product_envelope.mutable_product() = product;
    *volume_envelope.mutable_volume() = volume;
    pb::Product without_data = product;
    without_data.clear_raster_data_list();
    pb::Volume without_scan = volume;
    without_scan.clear_scan_config();
    const std::string envelope = product_envelope.SerializeAsString();
    const std::string method_1 = "Successfully parsed with method 1";
    const std::string method_4 = "Successfully parsed Product with method 4 (type=12)";
    const struct {
        std::string bytes;
        std::size_t methods_tried;
        std::string success;  // empty: refused
        bool volume_payload;
    } cases[] = {
        {envelope, 1, method_1, false},
        {volume_envelope.SerializeAsString(), 1, method_1, true},
        {envelope + "\x98\x06\x01", 1, method_1, false},  // with a field 99 = 1
        {delimited(product_envelope), 2, "Successfully parsed with method 2", false},
        {delimited(volume), 3, "Successfully parsed Volume with method 3", true},
        {delimited(product), 4, method_4, false},
        {delimited(product) + "\x07trailing", 4, method_4, false},
        {product.SerializeAsString(), 5, "Successfully parsed Product with method 5 (type=12)",
         false},
        {"", 5, "", false},
        {without_data.SerializeAsString(), 5, "", false},
        {delimited(without_data), 5, "", false},
        {delimited(without_scan), 5, "", false},
        {std::string("\xff\xfe\xfd\x00\x13garbage\x8f", 13), 5, "", false},
        {envelope.substr(0, envelope.size() / 2), 5, "", false},
        {std::string("\xe8\x07\x0a\x00", 4), 5, "", false},  // length beyond the end
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.bytes.substr(0, 8)) + " " + c.success);
        const Outcome outcome = parse(c.bytes);
        Lines log(all_tried.begin(), all_tried.begin() + c.methods_tried);
        if (!c.success.empty()) log.push_back(c.success);
        EXPECT_EQ(outcome.log, log);
        EXPECT_EQ(outcome.accepted, !c.success.empty());
        if (!outcome.accepted) continue;
        // Only the payload counts (a failed method 1 may leave other fields behind), and the
        // payload of the other kind is empty.
        EXPECT_TRUE(c.volume_payload
                        ? MessageDifferencer::Equals(outcome.envelope.volume(), volume)
                        : MessageDifferencer::Equals(outcome.envelope.product(), product));
    }
}

// A failed raw envelope parse leaves what it read in the envelope, and method 2 merges into
// it: the prefix 0x1a of a 26-byte message reads as the tag of `product`, so method 1 leaves a
// product payload behind, and method 2 then takes any 26-byte message.
TEST(InputReader, MethodTwoMergesIntoWhatMethodOneLeft) {
    pb::Volume volume = plausible_volume();
    volume.clear_instrument();
    ASSERT_EQ(volume.ByteSizeLong(), 26u);
    const Outcome outcome = parse(delimited(volume));
    EXPECT_TRUE(outcome.accepted);
    EXPECT_EQ(outcome.log.back(), "Successfully parsed with method 2");
    EXPECT_EQ(outcome.envelope.Payload_case(), pb::InstrumentData::kProduct);
}

}  // namespace