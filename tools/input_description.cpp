#include "input_description.h"

#include <google/protobuf/util/json_util.h>

#include <nlohmann/json.hpp>
#include <stdexcept>
#include <vector>

namespace radmill_info {

namespace {

using google::protobuf::FieldDescriptor;
using google::protobuf::Message;
// Keeps the printer's field order, which is the schema's.
using Json = nlohmann::ordered_json;

// A bytes field taken out of the message: its place in the printout and its size.
struct TakenBytes {
    Json::json_pointer place;
    std::size_t size;
};

// The fields of a buffer that describe its data; they move into the data's summary.
const char* const buffer_description_fields[] = {"compression", "storage_type",
                                                 "uncompressed_size"};

// Unset sub-messages and oneof members are left out; other scalars are always printed.
bool is_printed(const Message& message, const FieldDescriptor& field) {
    return !field.has_presence() || message.GetReflection()->HasField(message, &field);
}

// Empties every bytes field of message and of the messages within it, noting where each one
// appears in the printout. The schema has no repeated bytes fields and no maps.
void take_out_bytes(Message& message, const Json::json_pointer& place,
                    std::vector<TakenBytes>& taken) {
    const auto* reflection = message.GetReflection();
    const auto* descriptor = message.GetDescriptor();
    for (int i = 0; i < descriptor->field_count(); ++i) {
        const FieldDescriptor& field = *descriptor->field(i);
        const Json::json_pointer field_place = place / field.name();
        if (field.is_repeated()) {
            if (field.cpp_type() != FieldDescriptor::CPPTYPE_MESSAGE) continue;
            for (int n = 0; n < reflection->FieldSize(message, &field); ++n) {
                take_out_bytes(*reflection->MutableRepeatedMessage(&message, &field, n),
                               field_place / static_cast<std::size_t>(n), taken);
            }
        } else if (!is_printed(message, field)) {
            continue;
        } else if (field.cpp_type() == FieldDescriptor::CPPTYPE_MESSAGE) {
            take_out_bytes(*reflection->MutableMessage(&message, &field), field_place, taken);
        } else if (field.type() == FieldDescriptor::TYPE_BYTES) {
            std::string scratch;
            taken.push_back(
                {field_place, reflection->GetStringReference(message, &field, &scratch).size()});
            reflection->SetString(&message, &field, std::string());
        }
    }
}

Json printed(const Message& message) {
    google::protobuf::util::JsonPrintOptions options;
    options.always_print_primitive_fields = true;
    options.preserve_proto_field_names = true;
    std::string text;
    const auto status = google::protobuf::util::MessageToJsonString(message, &text, options);
    if (!status.ok()) throw std::runtime_error(std::string(status.message()));
    return Json::parse(text);
}

void put_summary(Json& printout, const TakenBytes& bytes) {
    Json summary = {{"size", bytes.size}};
    Json& owner = printout[bytes.place.parent_pointer()];
    for (const char* name : buffer_description_fields) {
        if (!owner.contains(name)) continue;
        summary[name] = std::move(owner[name]);
        owner.erase(name);
    }
    printout[bytes.place] = std::move(summary);
}

}  // namespace

std::string describe_input(qrdcvt::InputFraming framing,
                           qrd::pb::common::InstrumentData& envelope) {
    std::vector<TakenBytes> taken;
    take_out_bytes(envelope, Json::json_pointer(), taken);
    Json printout = printed(envelope);
    for (const TakenBytes& bytes : taken) put_summary(printout, bytes);
    const Json description = {{"framing", qrdcvt::framing_name(framing)},
                              {"instrument_data", std::move(printout)}};
    return description.dump(2);
}

}  // namespace radmill_info
