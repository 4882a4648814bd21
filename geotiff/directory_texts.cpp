#include "directory_texts.h"

#include <ctime>

namespace qrdcvt {

std::string software_text() { return std::string("ALVO ") + alvo_version; }

std::int64_t reference_time(const qrd::pb::common::Product& product) {
    if (product.has_time()) return product.time().seconds();
    return static_cast<std::int64_t>(std::time(nullptr));
}

std::string format_utc(std::int64_t seconds, const char* format) {
    const std::time_t time = static_cast<std::time_t>(seconds);
    std::tm broken_down{};
    if (gmtime_r(&time, &broken_down) == nullptr) return {};
    char text[64];
    if (std::strftime(text, sizeof text, format, &broken_down) == 0) return {};
    return text;
}

std::string band_description(const qrd::pb::common::RasterData& band,
                             const std::string& product_name, const std::string& instrument_name,
                             std::int64_t reference_time) {
    std::string text = product_name;
    if (band.has_data_descriptor() && !band.data_descriptor().name().empty()) {
        text = band.data_descriptor().name();
        if (!band.data_descriptor().long_name().empty()) {
            text += " - " + band.data_descriptor().long_name();
        }
    }
    if (!instrument_name.empty() && text.find(instrument_name) == std::string::npos) {
        text = text.empty() ? instrument_name : instrument_name + " - " + text;
    }
    if (text.empty()) {
        text = "Weather Radar Product - " + format_utc(reference_time, "%Y-%m-%d %H:%M");
    }
    return text;
}

}  // namespace qrdcvt
