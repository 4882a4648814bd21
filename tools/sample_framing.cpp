#include "sample_framing.h"

#include <google/protobuf/io/zero_copy_stream_impl_lite.h>
#include <google/protobuf/util/delimited_message_util.h>
#include <google/protobuf/util/message_differencer.h>

#include <fstream>
#include <stdexcept>

#include "input_reader.h"

namespace radmill_sample {

namespace {

namespace pb = qrd::pb::common;
using google::protobuf::Message;

// Swaps rather than copies, so that large bands are held once.
pb::Volume volume_of(pb::Product& product) {
    pb::Volume volume;
    pb::ProductSource& source = *product.mutable_source();
    volume.mutable_instrument()->Swap(source.mutable_instruments(0));
    volume.mutable_scan_config()->Swap(source.mutable_scan_config());
    volume.mutable_time()->Swap(product.mutable_time());
    volume.mutable_sweeps()->Swap(product.mutable_raster_data_list()->mutable_raster_data());
    return volume;
}

pb::InstrumentData envelope_of(pb::Product& product) {
    pb::InstrumentData envelope;
    envelope.mutable_product()->Swap(&product);
    return envelope;
}

std::string serialized(const Message& message, bool delimited) {
    std::string bytes;
    const bool done = [&] {
        if (!delimited) return message.SerializeToString(&bytes);
        google::protobuf::io::StringOutputStream stream(&bytes);
        return google::protobuf::util::SerializeDelimitedToZeroCopyStream(message, &stream);
    }();
    if (!done) throw std::runtime_error("cannot serialize the message");
    return bytes;
}

// The framings carry no marker, so radmill tells them apart by trying one after another; by
// an accident of lengths an earlier try can take the bytes, or leave fragments for a later one.
void require_read_as_written(const std::string& bytes, const Message& payload) {
    pb::InstrumentData read;
    const bool parsed = qrdcvt::parse_input_file(bytes, read);
    const Message* read_payload = read.has_product()  ? static_cast<const Message*>(&read.product())
                                  : read.has_volume() ? &read.volume()
                                                      : nullptr;
    if (!parsed || read_payload == nullptr ||
        read_payload->GetDescriptor() != payload.GetDescriptor() ||
        !google::protobuf::util::MessageDifferencer::Equals(*read_payload, payload)) {
        throw std::runtime_error(
            "radmill would take these bytes for another framing by an accident of their length; "
            "change the size");
    }
}

// The file's bytes, checked to read back as the payload that they frame.
std::string framed_bytes(Framing framing, pb::Product& product) {
    std::string bytes;
    switch (framing) {
        case Framing::ENVELOPE:
        case Framing::DELIMITED_ENVELOPE: {
            const pb::InstrumentData envelope = envelope_of(product);
            bytes = serialized(envelope, framing == Framing::DELIMITED_ENVELOPE);
            require_read_as_written(bytes, envelope.product());
            break;
        }
        case Framing::DELIMITED_VOLUME: {
            const pb::Volume volume = volume_of(product);
            bytes = serialized(volume, true);
            require_read_as_written(bytes, volume);
            break;
        }
        case Framing::DELIMITED_PRODUCT:
        case Framing::PRODUCT:
            bytes = serialized(product, framing == Framing::DELIMITED_PRODUCT);
            require_read_as_written(bytes, product);
            break;
    }
    return bytes;
}

}  // namespace

void write_sample_file(const std::string& path, Framing framing, pb::Product product) {
    const std::string bytes = framed_bytes(framing, product);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) throw std::runtime_error("cannot create " + path);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) throw std::runtime_error("cannot write " + path);
}

}  // namespace radmill_sample
