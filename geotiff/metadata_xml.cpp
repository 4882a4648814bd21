#include "metadata_xml.h"

namespace qrdcvt {

namespace {

std::string xml_escaped(const std::string& text) {
    std::string escaped;
    escaped.reserve(text.size());
    for (const char c : text) {
        switch (c) {
            case '&':
                escaped += "&amp;";
                break;
            case '<':
                escaped += "&lt;";
                break;
            case '>':
                escaped += "&gt;";
                break;
            case '"':
                escaped += "&quot;";
                break;
            default:
                escaped += c;
                break;
        }
    }
    return escaped;
}

}  // namespace

std::string metadata_to_xml(const MetadataItems& items) {
    std::string xml = "<GDALMetadata>\n";
    for (const auto& [name, value] : items) {
        xml += "  <Item name=\"" + xml_escaped(name) + "\">" + xml_escaped(xml_escaped(value)) +
               "</Item>\n";
    }
    xml += "</GDALMetadata>";
    return xml;
}

}  // namespace qrdcvt
