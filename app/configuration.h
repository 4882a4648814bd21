#pragma once

#include <boost/property_tree/ptree.hpp>
#include <fstream>
#include <istream>
#include <optional>
#include <string>

#include "pipe_environment.h"

namespace qrdcvt {

// Opens the configuration file; whether that worked is checked later, by
// require_configuration, so that a bad colour type is reported first.
std::ifstream open_configuration(const std::string& path);

// Ends the process with an error naming the configuration and template directories when
// the configuration file could not be opened.
void require_configuration(const std::ifstream& stream, const qrd::PipeEnvironment& environment);

// Parses the INI stream into conf and closes it. A file the parser rejects, or one without
// a top-level "append_log", ends the process with an error naming path and the problem.
void read_configuration(std::ifstream& stream, const std::string& path,
                        boost::property_tree::ptree& conf);

// The reading and checks of read_configuration: the error text naming path and the problem,
// or nothing when conf holds a usable configuration.
std::optional<std::string> parse_configuration(std::istream& stream, const std::string& path,
                                               boost::property_tree::ptree& conf);

// The value of a key at the root of conf, outside every section; a section of that name
// counts too, with an empty value.
std::optional<std::string> top_level_value(const boost::property_tree::ptree& conf,
                                           const std::string& key);

// Whether conf asks for single-band output; logs so when it does.
bool single_band_mode(const boost::property_tree::ptree& conf);

}  // namespace qrdcvt
