#include "metadata_items.h"

#include <cstdio>

#include "directory_texts.h"

namespace qrdcvt {

namespace pb = qrd::pb::common;

namespace {

template <typename... Args>
std::string format(const char* pattern, Args... args) {
    char text[64];
    std::snprintf(text, sizeof text, pattern, args...);
    return text;
}

const pb::Instrument* first_instrument(const pb::Product& product) {
    if (!product.has_source() || product.source().instruments_size() == 0) return nullptr;
    return &product.source().instruments(0);
}

void add_instrument_items(const pb::Instrument& instrument, MetadataItems& items) {
    if (!instrument.name().empty()) {
        items["RADAR"] = instrument.name();
        items["INGEST_SITE_NAME"] = instrument.name();
    }
    const std::string& hardware =
        instrument.hardware_name().empty() ? instrument.name() : instrument.hardware_name();
    if (!hardware.empty()) items["INGEST_HARDWARE_NAME"] = hardware;
    if (!instrument.has_location()) return;
    const pb::Location& location = instrument.location();
    items["GROUND_HEIGHT"] = format("%.1fm", location.altitude() + instrument.height());
    if (!location.has_position()) return;
    items["RADAR_LATITUDE"] = format("%.6f", location.position().latitude());
    items["RADAR_LONGITUDE"] = format("%.6f", location.position().longitude());
}

const pb::PpiScan* ppi_scan(const pb::Product& product) {
    if (!product.has_source() || !product.source().has_scan_config()) return nullptr;
    const pb::ScanConfig& config = product.source().scan_config();
    if (!config.has_sweep() || !config.sweep().has_ppi()) return nullptr;
    return &config.sweep().ppi();
}

const char* polarization_text(int code) {
    switch (code) {
        case pb::ALL:
            return "ALL";
        case pb::HORIZONTAL:
            return "HORIZONTAL";
        case pb::VERTICAL:
            return "VERTICAL";
        default:
            return nullptr;
    }
}

void add_descriptor_items(const pb::RasterData& band, const BandScale& scale,
                          MetadataItems& items) {
    const pb::DataDescriptor& descriptor = band.data_descriptor();
    if (!descriptor.name().empty()) {
        items["FIELD"] = descriptor.name();
        items["STANDARD_NAME"] = descriptor.name();
    }
    const std::string& long_name =
        descriptor.long_name().empty() ? descriptor.name() : descriptor.long_name();
    if (!long_name.empty()) items["LONG_NAME"] = long_name;
    items["DTYPE"] = "FLOAT64";
    const std::string unit = unit_to_string(descriptor.unit());
    if (!unit.empty()) items["DATA_TYPE_UNITS"] = unit;
    items["SCALE"] = scale.has_linear_scale ? format("%.10g", scale.step) : "1";
    items["OFFSET"] = scale.has_linear_scale ? format("%.10g", scale.offset) : "0";
    items["VARIABLE_TYPE"] =
        descriptor.quantity() == pb::CLASSIFICATION ? "CATEGORICAL" : "CONTINUOUS";
    if (const char* polarization = polarization_text(descriptor.polarization())) {
        items["POLARIZATION"] = polarization;
    }
}

void add_statistics_items(const BandStatistics& statistics, MetadataItems& items) {
    items["STATISTICS_MINIMUM"] = format("%.10g", statistics.minimum);
    items["STATISTICS_MAXIMUM"] = format("%.10g", statistics.maximum);
    items["STATISTICS_MEAN"] = format("%.10g", statistics.mean);
    items["STATISTICS_STDDEV"] = format("%.10g", statistics.stddev);
    items["STATISTICS_VALID_PERCENT"] = format("%.2f", statistics.valid_percent);
    items["STATISTICS_APPROXIMATE"] = "YES";
}

}  // namespace

MetadataItems build_metadata_items(const pb::Product& product, const pb::RasterData& band,
                                   const BandScale& scale, const std::string& scale_description,
                                   const BandStatistics* statistics) {
    MetadataItems items;
    items["AREA_OR_POINT"] = "Area";
    if (product.has_time()) {
        std::string date_time = format_utc(product.time().seconds(), "%Y-%m-%dT%H:%M:%S");
        if (!date_time.empty()) items["DATETIME"] = std::move(date_time);
    }
    if (const pb::Instrument* instrument = first_instrument(product)) {
        add_instrument_items(*instrument, items);
    }
    items["INGEST_SITE_ALVO_VERSION"] = alvo_version;
    const pb::PpiScan* ppi = ppi_scan(product);
    if (ppi != nullptr && ppi->elevation_angles_size() > 0) {
        const std::string angle = format("%.6f", ppi->elevation_angles(0));
        items["ELEVATION_ANGLE"] = angle;
        items["PPI_ELEVATION_ANGLE"] = angle;
    }
    items["SOURCE"] = "Weather Radar Data";
    items["USAGE_POLICY"] =
        "Authorized use of weather radar data. Please cite the source when reproducing this "
        "information.";
    if (band.has_data_descriptor()) add_descriptor_items(band, scale, items);
    if (statistics != nullptr) add_statistics_items(*statistics, items);
    if (!scale_description.empty()) items["SCALE"] = scale_description;
    return items;
}

std::string unit_to_string(int unit) {
    static const char* const texts[] = {
        "",     "",       "dB",    "dBZ",  "dB/km",  "m/s",    "degrees", "m",
        "km",   "",       "%",     "",     "deg/km", "deg/m",  "mm",      "mm/km",
        "mm/m", "dBZ*km", "dBZ*m", "mm/h", "m/s/m",  "m/s/km", "m/s/deg",
    };
    constexpr int count = sizeof texts / sizeof texts[0];
    return unit >= 0 && unit < count ? texts[unit] : "";
}

}  // namespace qrdcvt
