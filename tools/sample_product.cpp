#include "sample_product.h"

#include <climits>
#include <cstdint>
#include <stdexcept>

#include "sample_encoding.h"
#include "sample_field.h"
#include "sample_geometry.h"
#include "sample_quantity.h"

namespace radmill_sample {

namespace {

namespace pb = qrd::pb::common;

// Room left in protobuf's 2 GiB message limit for everything but the samples.
constexpr std::uint64_t message_headroom = 1 << 20;

void require_message_size(const SampleOptions& options) {
    const std::uint64_t sample_bytes =
        static_cast<std::uint64_t>(options.width) * static_cast<std::uint64_t>(options.height) *
        sample_size(options.storage_type) * static_cast<std::uint64_t>(options.bands);
    if (sample_bytes + message_headroom > INT_MAX) {
        throw std::runtime_error("the bands exceed what one protobuf message can hold (2 GiB)");
    }
}

void fill_source(const Site& site, pb::ProductSource& source) {
    pb::Instrument& instrument = *source.add_instruments();
    instrument.set_name(site.instrument_name);
    instrument.set_hardware_name(site.hardware_name);
    instrument.set_height(site.height);
    pb::Location& location = *instrument.mutable_location();
    location.set_altitude(site.altitude);
    location.mutable_position()->set_latitude(site.latitude);
    location.mutable_position()->set_longitude(site.longitude);

    source.set_product_name("PPI");
    pb::ScanConfig& scan = *source.mutable_scan_config();
    scan.set_name("PPI");
    scan.mutable_sweep()->mutable_ppi()->add_elevation_angles(site.elevation);
}

pb::GeoReference geo_reference(const SampleOptions& options) {
    pb::GeoReference reference;
    *reference.mutable_projection() = projection_message(options.projection, options.site);
    const Edges edges = options.bbox ? *options.bbox
                                     : default_edges(options.projection, reference.projection(),
                                                     options.site, options.width, options.height);
    pb::BoundingBox& box = *reference.mutable_bounding_box();
    box.mutable_south_west()->set_x(edges.west);
    box.mutable_south_west()->set_y(edges.south);
    box.mutable_north_east()->set_x(edges.east);
    box.mutable_north_east()->set_y(edges.north);
    return reference;
}

void fill_descriptor(const QuantityDescription& description, pb::DataDescriptor& descriptor) {
    descriptor.set_name(description.name);
    descriptor.set_long_name(description.long_name);
    descriptor.set_quantity(description.quantity);
    descriptor.set_polarization(description.polarization);
    descriptor.set_unit(description.unit);
    pb::LinearScale& scale = *descriptor.mutable_data_scale()->mutable_linear();
    scale.set_step(description.step);
    scale.set_offset(description.offset);
    scale.set_under_threshold(description.under_threshold);
    scale.set_not_scanned(description.not_scanned);
}

void fill_band(const SampleOptions& options, int index, const pb::GeoReference& reference,
               pb::RasterData& band) {
    band.set_width(static_cast<std::uint32_t>(options.width));
    band.set_height(static_cast<std::uint32_t>(options.height));
    *band.mutable_geo_reference() = reference;
    const Quantity quantity = band_quantity(options.quantity, index);
    fill_descriptor(describe(quantity), *band.mutable_data_descriptor());

    // The three moments of one scan share their echoes; the next three come from another.
    const int variant = index / 3;
    const std::vector<float> field =
        physical_field(options.width, options.height, quantity, variant);
    *band.add_data_buffers() = make_data_buffer(
        encode_samples(field, options.storage_type, band.data_descriptor().data_scale().linear()),
        options.storage_type, options.compression, options.endianness);
}

}  // namespace

pb::Product sample_product(const SampleOptions& options) {
    require_message_size(options);
    pb::Product product;
    product.set_product_type(static_cast<pb::ProductType>(options.product_type));
    product.set_name(options.site.instrument_name + " PPI");
    fill_source(options.site, *product.mutable_source());
    product.mutable_time()->set_seconds(options.time);

    const pb::GeoReference reference = geo_reference(options);
    pb::RasterDataList& bands = *product.mutable_raster_data_list();
    for (int index = 0; index < options.bands; ++index) {
        fill_band(options, index, reference, *bands.add_raster_data());
    }
    return product;
}

}  // namespace radmill_sample
