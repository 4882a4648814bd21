#include "product_files.h"

#include <google/protobuf/text_format.h>
#include <lz4.h>

#include <stdexcept>

#include "radmill_run.h"

namespace radmill_test {

namespace pb = qrd::pb::common;

void write_product(const std::string& path, const pb::Product& product) {
    pb::InstrumentData envelope;
    *envelope.mutable_product() = product;
    write_file(path, envelope.SerializeAsString());
}

void merge_text(google::protobuf::Message& message, const std::string& text) {
    if (!google::protobuf::TextFormat::MergeFromString(text, &message)) {
        throw std::invalid_argument("not protobuf text: " + text);
    }
}

pb::Product raster_product(std::uint32_t width, std::uint32_t height, pb::StorageType storage_type,
                           const std::string& data, const std::string& band_text,
                           const std::string& buffer_text) {
    pb::Product product;
    pb::RasterData& band = *product.mutable_raster_data_list()->add_raster_data();
    band.set_width(width);
    band.set_height(height);
    pb::DataBuffer& buffer = *band.add_data_buffers();
    buffer.set_data(data);
    buffer.set_storage_type(storage_type);
    buffer.set_compression(pb::NONE);
    buffer.set_endianness(pb::LITTLE);
    merge_text(band, band_text);
    merge_text(buffer, buffer_text);
    return product;
}

pb::RasterData& first_band(pb::Product& product) {
    return *product.mutable_raster_data_list()->mutable_raster_data(0);
}

std::string lz4_block(const std::string& raw) {
    std::string block(LZ4_compressBound(static_cast<int>(raw.size())), '\0');
    block.resize(LZ4_compress_default(raw.data(), block.data(), static_cast<int>(raw.size()),
                                      static_cast<int>(block.size())));
    return block;
}

}  // namespace radmill_test
