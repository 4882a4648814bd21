#include "sample_options.h"

#include <boost/program_options.hpp>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <sstream>
#include <stdexcept>
#include <utility>
#include <vector>

namespace radmill_sample {

namespace {

namespace pb = qrd::pb::common;
namespace po = boost::program_options;

template <typename T>
using WordTable = std::vector<std::pair<std::string, T>>;

const WordTable<pb::StorageType> storage_words{{"uint8", pb::UINT8},     {"uint16", pb::UINT16},
                                               {"int32", pb::INT32},     {"int64", pb::INT64},
                                               {"float32", pb::FLOAT32}, {"float64", pb::FLOAT64}};
const WordTable<pb::Compression> compression_words{{"none", pb::NONE}, {"lz4", pb::LZ4}};
const WordTable<pb::Endianness> endian_words{{"little", pb::LITTLE}, {"big", pb::BIG}};
const WordTable<Framing> framing_words{{"envelope", Framing::ENVELOPE},
                                       {"delimited-envelope", Framing::DELIMITED_ENVELOPE},
                                       {"delimited-volume", Framing::DELIMITED_VOLUME},
                                       {"delimited-product", Framing::DELIMITED_PRODUCT},
                                       {"product", Framing::PRODUCT}};
const WordTable<Quantity> quantity_words{{"reflectivity", Quantity::REFLECTIVITY},
                                         {"velocity", Quantity::VELOCITY},
                                         {"rain", Quantity::RAIN}};
const WordTable<pb::ProjectionKind> projection_kind_words{
    {"aeqd", pb::AZIMUTHAL_EQUIDISTANT},
    {"mercator", pb::MERCATOR},
    {"polar-stereographic", pb::POLAR_STEREOGRAPHIC},
    {"utm", pb::UTM},
    {"geostationary", pb::GEOSTATIONARY},
    {"equirectangular", pb::EQUIRECTANGULAR},
    {"gnomonic", pb::GNOMONIC},
    {"tm", pb::TRANSVERSE_MERCATOR},
    {"lcc", pb::LAMBERT_CONFORMAL_CONIC}};

template <typename T>
std::string word_list(const WordTable<T>& table) {
    std::string list;
    for (const auto& entry : table) list += (list.empty() ? "" : ", ") + entry.first;
    return list;
}

template <typename T>
T from_word(const WordTable<T>& table, const std::string& word, const std::string& option) {
    for (const auto& [name, value] : table) {
        if (name == word) return value;
    }
    throw std::invalid_argument("--" + option + ": '" + word + "' is not one of " +
                                word_list(table));
}

double parse_number(const std::string& text, const std::string& what) {
    errno = 0;
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (text.empty() || *end != '\0' || errno == ERANGE || !std::isfinite(value)) {
        throw std::invalid_argument(what + ": '" + text + "' is not a finite number");
    }
    return value;
}

ProjectionChoice parse_projection(const std::string& text) {
    const std::string epsg_prefix = "epsg:";
    const std::string parameters_prefix = "parameters:";
    ProjectionChoice choice;
    if (text == "geographic") return choice;
    if (text.rfind(epsg_prefix, 0) == 0) {
        const std::string code = text.substr(epsg_prefix.size());
        const double number = parse_number(code, "--projection EPSG code");
        if (number < 1 || number > 2147483647 || number != std::floor(number)) {
            throw std::invalid_argument("--projection: '" + code +
                                        "' is not a positive whole EPSG code");
        }
        choice.form = ProjectionChoice::Form::EPSG;
        choice.epsg_code = static_cast<int>(number);
        return choice;
    }
    if (text.rfind(parameters_prefix, 0) == 0) {
        choice.form = ProjectionChoice::Form::PARAMETERS;
        choice.kind = from_word(projection_kind_words, text.substr(parameters_prefix.size()),
                                "projection parameters");
        return choice;
    }
    throw std::invalid_argument("--projection: '" + text +
                                "' is not geographic, epsg:CODE or parameters:KIND");
}

Edges parse_edges(const std::string& text) {
    std::vector<double> numbers;
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = text.find(',', start);
        numbers.push_back(parse_number(text.substr(start, comma - start), "--bbox"));
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    if (numbers.size() != 4) {
        throw std::invalid_argument("--bbox: expected west,south,east,north");
    }
    return Edges{numbers[0], numbers[1], numbers[2], numbers[3]};
}

void require_range(double value, double low, double high, const std::string& option) {
    if (!(value >= low && value <= high)) {
        std::ostringstream message;
        message << "--" << option << " must lie between " << low << " and " << high;
        throw std::invalid_argument(message.str());
    }
}

void require_finite(double value, const std::string& option) {
    if (!std::isfinite(value)) throw std::invalid_argument("--" + option + " must be finite");
}

// Default values shown as people write them, not to seventeen digits.
template <typename T>
po::typed_value<T>* with_default(const T& value) {
    std::ostringstream text;
    text << value;
    return po::value<T>()->default_value(value, text.str());
}

po::options_description describe_options() {
    po::options_description options(
        "Usage: radmill-sample --output PATH [options]\n\n"
        "Writes a synthetic weather-radar product file that radmill reads: smooth echo\n"
        "cells around a radar site, no-echo areas, and a not-scanned area beyond the\n"
        "radar's range. Float storage holds physical values (NaN where not scanned);\n"
        "integer storage holds raw codes through the band's linear scale.\n\n"
        "Options");
    const SampleOptions defaults;
    const Site site;
    // clang-format off
    options.add_options()
        ("help,h", "print this help and exit")
        ("output,o", po::value<std::string>()->required(), "file to write (required)")
        ("width", with_default<int>(defaults.width), "columns of every band")
        ("height", with_default<int>(defaults.height), "rows of every band")
        ("storage", with_default<std::string>("float32"),
         ("sample type: " + word_list(storage_words)).c_str())
        ("compression", with_default<std::string>("none"),
         "none, or lz4 (one raw LZ4 block per band)")
        ("endian", with_default<std::string>("little"),
         "byte order of the samples: little or big")
        ("bands", with_default<int>(defaults.bands),
         "number of bands; the quantity cycles reflectivity, velocity, rain from --quantity")
        ("framing", with_default<std::string>("envelope"),
         "file layout: envelope (bare InstrumentData), delimited-envelope, delimited-volume "
         "(a length-prefixed Volume, which radmill rejects after reading it), "
         "delimited-product, product (bare Product)")
        ("projection", with_default<std::string>("geographic"),
         "geographic (EPSG:4326), epsg:CODE, or parameters:KIND centred on the site, KIND "
         "one of aeqd (azimuthal equidistant), mercator, polar-stereographic, utm, "
         "geostationary, equirectangular, gnomonic, tm (transverse Mercator), lcc (Lambert "
         "conformal conic, standard parallels 5 degrees either side of the site)")
        ("bbox", po::value<std::string>(),
         "west,south,east,north of the raster's outer edge; default: 1 km pixels around "
         "the site, in degrees for a geographic system, in the projection's metres otherwise")
        ("quantity", with_default<std::string>("reflectivity"),
         "reflectivity (DBZH, dBZ), rain (RATE, mm/h) or velocity (VRADH, m/s)")
        ("instrument", with_default<std::string>(site.instrument_name),
         "instrument (site) name")
        ("hardware", with_default<std::string>(site.hardware_name),
         "instrument hardware name")
        ("latitude", with_default<double>(site.latitude), "site latitude, degrees")
        ("longitude", with_default<double>(site.longitude),
         "site longitude, degrees")
        ("altitude", with_default<double>(site.altitude),
         "site altitude, metres")
        ("site-height", with_default<double>(site.height),
         "antenna height above the altitude, metres")
        ("elevation", with_default<double>(site.elevation),
         "elevation angle of the sweep, degrees")
        ("time", with_default<std::int64_t>(defaults.time),
         "product time, seconds since 1970-01-01 UTC")
        ("product-type", with_default<int>(defaults.product_type),
         "product type number (1 PPI, 2 CAPPI, 12 composite, ...)");
    // clang-format on
    return options;
}

SampleOptions options_from(const po::variables_map& values) {
    SampleOptions options;
    options.output_path = values["output"].as<std::string>();
    options.width = values["width"].as<int>();
    options.height = values["height"].as<int>();
    options.bands = values["bands"].as<int>();
    if (options.width < 1 || options.height < 1 || options.bands < 1) {
        throw std::invalid_argument("--width, --height and --bands must be at least 1");
    }
    options.storage_type = from_word(storage_words, values["storage"].as<std::string>(), "storage");
    options.compression =
        from_word(compression_words, values["compression"].as<std::string>(), "compression");
    options.endianness = from_word(endian_words, values["endian"].as<std::string>(), "endian");
    options.framing = from_word(framing_words, values["framing"].as<std::string>(), "framing");
    options.projection = parse_projection(values["projection"].as<std::string>());
    if (values.count("bbox") != 0) options.bbox = parse_edges(values["bbox"].as<std::string>());
    options.quantity = from_word(quantity_words, values["quantity"].as<std::string>(), "quantity");

    Site& site = options.site;
    site.instrument_name = values["instrument"].as<std::string>();
    site.hardware_name = values["hardware"].as<std::string>();
    site.latitude = values["latitude"].as<double>();
    site.longitude = values["longitude"].as<double>();
    site.altitude = values["altitude"].as<double>();
    site.height = values["site-height"].as<double>();
    site.elevation = values["elevation"].as<double>();
    require_range(site.latitude, -90, 90, "latitude");
    require_range(site.longitude, -180, 180, "longitude");
    require_finite(site.altitude, "altitude");
    require_finite(site.height, "site-height");
    require_finite(site.elevation, "elevation");

    options.time = values["time"].as<std::int64_t>();
    options.product_type = values["product-type"].as<int>();
    return options;
}

}  // namespace

std::optional<SampleOptions> parse_sample_options(int argc, const char* const argv[],
                                                  std::ostream& help_out) {
    const po::options_description description = describe_options();
    po::variables_map values;
    po::store(po::parse_command_line(argc, argv, description), values);
    if (values.count("help") != 0) {
        help_out << description << "\n";
        return std::nullopt;
    }
    po::notify(values);
    return options_from(values);
}

}  // namespace radmill_sample
