#include "input_product.h"

#include "fatal_error.h"
#include "input_reader.h"
#include "simple_logger.h"

#include <cstdlib>
#include <fstream>
#include <iterator>

namespace qrdcvt {

using corvane::rs::wr::log::SimpleLogger;
using qrd::pb::common::InstrumentData;
using qrd::pb::common::Product;

namespace {

[[noreturn]] void exit_cannot_open(const std::string& path) {
    // Ends in a bare newline, not std::endl: the exit handler flushes it.
    SimpleLogger::getInstance()->error() << "Cannot open input file: " << path << "\n";
    std::exit(1);
}

}  // namespace

std::string read_input_file(const std::string& path) {
    std::ifstream input(path, std::ios::binary);
    if (!input.is_open()) exit_cannot_open(path);
    try {
        return std::string(std::istreambuf_iterator<char>(input), std::istreambuf_iterator<char>());
    } catch (const std::ios_base::failure&) {
        // A directory opens like a file but throws on the first read.
        exit_cannot_open(path);
    }
}

InstrumentData parse_input(const std::string& bytes) {
    InstrumentData envelope;
    if (!parse_input_file(bytes, envelope)) {
        SimpleLogger::getInstance()->error() << "Failed to parse input file." << std::endl;
        exit_with_error(
            "Please ensure the input file contains valid protobuf data in one of the supported "
            "formats");
    }
    return envelope;
}

const Product& require_product(const InstrumentData& envelope) {
    switch (envelope.Payload_case()) {
        case InstrumentData::PAYLOAD_NOT_SET:
            exit_with_error("Received InstrumentData payload not set!");
        case InstrumentData::kProduct:
            break;
        default:
            exit_with_error("Received InstrumentData with unsupported payload!");
    }
    SimpleLogger::getInstance()->debug()
        << "Received InstrumentData with Product payload; starting processing!" << std::endl;
    return envelope.product();
}

void require_raster_data(const Product& product) {
    if (product.data_case() == Product::kRasterDataList) return;
    exit_with_error("Product contains '" + data_kind_name(product.data_case()) +
                    "' data, but only raster products are supported for GeoTIFF conversion!");
}

std::string data_kind_name(Product::DataCase data_case) {
    switch (data_case) {
        case Product::DATA_NOT_SET:
            return "NOT SET";
        case Product::kVectors:
            return "VECTORS";
        case Product::kEvents:
            return "EVENTS";
        case Product::kRain:
            return "RAIN";
        default:
            return "UNKNOWN";
    }
}

}  // namespace qrdcvt
