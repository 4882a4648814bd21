#pragma once

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>

#include "radar.pb.h"

namespace radmill_sample {

// How the product is laid out in the file.
enum class Framing { ENVELOPE, DELIMITED_ENVELOPE, DELIMITED_VOLUME, DELIMITED_PRODUCT, PRODUCT };

// The measured quantity of a band; each has its own names, unit and linear scale.
enum class Quantity { REFLECTIVITY, VELOCITY, RAIN };

// Coordinate reference system of the bands: WGS 84 degrees, an EPSG code, or projection
// parameters of one kind centred on the site.
struct ProjectionChoice {
    enum class Form { GEOGRAPHIC, EPSG, PARAMETERS };
    Form form = Form::GEOGRAPHIC;
    int epsg_code = 4326;
    qrd::pb::common::ProjectionKind kind = qrd::pb::common::PROJECTION_KIND_NONE;
};

// Outer edges of the raster, in degrees or in the projection's units.
struct Edges {
    double west = 0;
    double south = 0;
    double east = 0;
    double north = 0;
};

// The radar site that made the product.
struct Site {
    std::string instrument_name = "Hilltop";
    std::string hardware_name = "WR-5000";
    double latitude = 60.2;   // degrees
    double longitude = 24.9;  // degrees
    double altitude = 30;     // metres
    double height = 20;       // metres above the altitude
    double elevation = 0.5;   // degrees
};

struct SampleOptions {
    std::string output_path;
    int width = 600;
    int height = 400;
    qrd::pb::common::StorageType storage_type = qrd::pb::common::FLOAT32;
    qrd::pb::common::Compression compression = qrd::pb::common::NONE;
    qrd::pb::common::Endianness endianness = qrd::pb::common::LITTLE;
    int bands = 1;
    Framing framing = Framing::ENVELOPE;
    ProjectionChoice projection;
    std::optional<Edges> bbox;  // none: chosen around the site
    Quantity quantity = Quantity::REFLECTIVITY;
    Site site;
    std::int64_t time = 1717236000;  // 2024-06-01 10:00:00 UTC
    int product_type = qrd::pb::common::PPI;
};

// Reads the command line. Returns none after writing the help text to help_out; throws
// std::exception with a one-line message on a bad option or value.
std::optional<SampleOptions> parse_sample_options(int argc, const char* const argv[],
                                                  std::ostream& help_out);

}  // namespace radmill_sample
