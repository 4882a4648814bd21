#pragma once

#include <cstdint>
#include <string>

#include "radar.pb.h"
#include "radmill_version.h"

namespace qrdcvt {

// Version of the acquisition software that the files name.
constexpr const char* alvo_version = RADMILL_VERSION;

// The Software tag's text.
std::string software_text();

// Seconds since the epoch that the file's dates stand for: the product's time, else now.
std::int64_t reference_time(const qrd::pb::common::Product& product);

// seconds in UTC through strftime's format; empty when the time can't be broken down.
std::string format_utc(std::int64_t seconds, const char* format);

// The ImageDescription of a band: its descriptor's names, else the product name, led by the
// instrument name unless they already hold it, else a dated default.
std::string band_description(const qrd::pb::common::RasterData& band,
                             const std::string& product_name, const std::string& instrument_name,
                             std::int64_t reference_time);

}  // namespace qrdcvt
