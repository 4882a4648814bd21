#include "input_reader.h"

#include <google/protobuf/io/zero_copy_stream_impl_lite.h>
#include <google/protobuf/stubs/logging.h>
#include <google/protobuf/util/delimited_message_util.h>

#include <algorithm>
#include <climits>
#include <ostream>

#include "simple_logger.h"

namespace qrdcvt {

namespace {

namespace pb = qrd::pb::common;
namespace protobuf = google::protobuf;
using corvane::rs::wr::log::SimpleLogger;

void ignore_protobuf_log(protobuf::LogLevel, const char*, int, const std::string&) {}

// Keeps protobuf's complaints about the failed attempts quiet while it lives; on leaving,
// the null handler makes protobuf discard its messages from then on as well.
class SilencedProtobufLog {
  public:
    SilencedProtobufLog() { protobuf::SetLogHandler(&ignore_protobuf_log); }
    ~SilencedProtobufLog() { protobuf::SetLogHandler(nullptr); }
    SilencedProtobufLog(const SilencedProtobufLog&) = delete;
    SilencedProtobufLog& operator=(const SilencedProtobufLog&) = delete;
};

// Parses the first length-prefixed message of data into message, merging into what it holds.
// The stream reads the caller's bytes in place. Protobuf cannot parse a message above 2 GiB,
// so capping the stream there only cuts off bytes that a delimited read ignores anyway.
bool parse_delimited(const std::string& data, protobuf::MessageLite& message) {
    const int size = static_cast<int>(std::min<std::size_t>(data.size(), INT_MAX));
    protobuf::io::ArrayInputStream stream(data.data(), size);
    return protobuf::util::ParseDelimitedFromZeroCopyStream(&message, &stream, nullptr);
}

bool has_payload(const pb::InstrumentData& envelope) {
    return envelope.Payload_case() != pb::InstrumentData::PAYLOAD_NOT_SET;
}

// The two sub-messages that mark a genuine volume; an unrelated message rarely has both.
bool is_plausible_volume(const pb::Volume& volume) {
    return volume.has_instrument() && volume.has_scan_config();
}

bool has_data(const pb::Product& product) {
    return product.data_case() != pb::Product::DATA_NOT_SET;
}

// Methods 3 to 5 replace only the envelope's payload: its other fields stay as methods 1 and 2
// left them. Each works on a local message of its own, gone before the next method runs; the
// accepted one is swapped in, not copied, so that a large product is not held twice.
bool try_delimited_volume(const std::string& data, SimpleLogger& log,
                          pb::InstrumentData& envelope) {
    pb::Volume volume;
    if (!parse_delimited(data, volume) || !is_plausible_volume(volume)) return false;
    log.debug() << "Successfully parsed Volume with method 3" << std::endl;
    envelope.mutable_volume()->Swap(&volume);
    return true;
}

bool try_product(const std::string& data, int method, SimpleLogger& log,
                 pb::InstrumentData& envelope) {
    pb::Product product;
    const bool parsed =
        method == 4 ? parse_delimited(data, product) : product.ParseFromString(data);
    if (!parsed || !has_data(product)) return false;
    log.debug() << "Successfully parsed Product with method " << method
                << " (type=" << static_cast<int>(product.product_type()) << ")" << std::endl;
    envelope.mutable_product()->Swap(&product);
    return true;
}

}  // namespace

std::string framing_name(InputFraming framing) {
    switch (framing) {
        case InputFraming::ENVELOPE:
            return "envelope";
        case InputFraming::DELIMITED_ENVELOPE:
            return "delimited-envelope";
        case InputFraming::DELIMITED_VOLUME:
            return "delimited-volume";
        case InputFraming::DELIMITED_PRODUCT:
            return "delimited-product";
        case InputFraming::PRODUCT:
            return "product";
    }
    return "unknown";
}

bool parse_input_file(const std::string& data, pb::InstrumentData& envelope) {
    return parse_input_framing(data, envelope).has_value();
}

std::optional<InputFraming> parse_input_framing(const std::string& data,
                                                pb::InstrumentData& envelope) {
    SimpleLogger& log = *SimpleLogger::getInstance();
    const SilencedProtobufLog silenced;

    log.debug() << "Trying method 1: Raw InstrumentData parsing" << std::endl;
    if (envelope.ParseFromString(data) && has_payload(envelope)) {
        log.debug() << "Successfully parsed with method 1" << std::endl;
        return InputFraming::ENVELOPE;
    }

    // Merges into whatever the failed first attempt left in the envelope.
    log.debug() << "Trying method 2: Length-delimited InstrumentData parsing" << std::endl;
    if (parse_delimited(data, envelope) && has_payload(envelope)) {
        log.debug() << "Successfully parsed with method 2" << std::endl;
        return InputFraming::DELIMITED_ENVELOPE;
    }

    log.debug() << "Trying method 3: Length-delimited Volume parsing" << std::endl;
    if (try_delimited_volume(data, log, envelope)) return InputFraming::DELIMITED_VOLUME;

    log.debug() << "Trying method 4: Length-delimited Product parsing" << std::endl;
    if (try_product(data, 4, log, envelope)) return InputFraming::DELIMITED_PRODUCT;

    log.debug() << "Trying method 5: Raw Product parsing" << std::endl;
    if (try_product(data, 5, log, envelope)) return InputFraming::PRODUCT;
    return std::nullopt;
}

}  // namespace qrdcvt
