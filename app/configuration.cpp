#include "configuration.h"

#include <boost/property_tree/ini_parser.hpp>
#include <set>
#include <sstream>

#include "fatal_error.h"
#include "install_paths.h"
#include "simple_logger.h"

namespace qrdcvt {

RegularFile open_configuration(const std::string& path) { return read_regular_file(path); }

void require_configuration(const RegularFile& file, const std::string& path,
                           const qrd::PipeEnvironment& environment) {
    if (file.status == RegularFile::Status::READ) return;
    if (file.status == RegularFile::Status::NOT_REGULAR) {
        exit_with_error("Configuration file is not a regular file: " + path);
    }
    exit_with_error("Could not find the configuration file radmill.conf at " +
                    directory(environment, "config") + " try importing radmill.conf file from " +
                    directory(environment, "config_template"));
}

void read_configuration(const RegularFile& file, const std::string& path,
                        boost::property_tree::ptree& conf) {
    std::istringstream stream(file.text);
    if (const auto problem = parse_configuration(stream, path, conf)) exit_with_error(*problem);
}

std::optional<std::string> parse_configuration(std::istream& stream, const std::string& path,
                                               boost::property_tree::ptree& conf) {
    const std::string problem_prefix = "Invalid configuration file " + path;
    try {
        boost::property_tree::ini_parser::read_ini(stream, conf);
    } catch (const boost::property_tree::ini_parser_error& e) {
        return problem_prefix + " (line " + std::to_string(e.line()) + "): " + e.message();
    }
    if (!top_level_value(conf, "append_log")) {
        return problem_prefix + ": the required top-level key 'append_log' is missing";
    }
    return std::nullopt;
}

std::optional<std::string> top_level_value(const boost::property_tree::ptree& conf,
                                           const std::string& key) {
    const auto found = conf.find(key);
    if (found == conf.not_found()) return std::nullopt;
    return found->second.data();
}

std::optional<std::string> key_value(const boost::property_tree::ptree& conf,
                                     const std::string& key) {
    const auto found = conf.find(key);
    if (found == conf.not_found() || !found->second.empty()) return std::nullopt;
    return found->second.data();
}

bool single_band_mode(const boost::property_tree::ptree& conf) {
    const auto value = top_level_value(conf, "single_band");
    const bool enabled = value && (*value == "enabled" || *value == "true" || *value == "1");
    if (enabled) {
        corvane::rs::wr::log::SimpleLogger::getInstance()->info()
            << "Single-band mode enabled: outputting real scientific values" << std::endl;
    }
    return enabled;
}

void warn_unknown_keys(const boost::property_tree::ptree& conf) {
    static const std::set<std::string> known = {"append_log",     "log_level", "single_band",
                                                "georeference",   "compress",  "predictor",
                                                "compress_level", "layout"};
    for (const auto& [key, value] : conf) {
        // A section has children; an empty one reads like a key without a value.
        if (!value.empty() || value.data().empty() || known.count(key) != 0) continue;
        corvane::rs::wr::log::SimpleLogger::getInstance()->warn()
            << "Ignoring unknown configuration key: " << key << std::endl;
    }
}

}  // namespace qrdcvt
