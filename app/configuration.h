#pragma once

#include <boost/property_tree/ptree.hpp>
#include <istream>
#include <optional>
#include <string>

#include "pipe_environment.h"
#include "regular_file.h"

namespace qrdcvt {

// Reads the configuration file; whether that worked is checked later, by
// require_configuration, so that a bad colour type is reported first.
RegularFile open_configuration(const std::string& path);

// Ends the process with an error naming the configuration and template directories when
// the configuration file could not be opened, or naming the file when it is not a regular one.
void require_configuration(const RegularFile& file, const std::string& path,
                           const qrd::PipeEnvironment& environment);

// Parses the INI text into conf. A file the parser rejects, or one without a top-level
// "append_log", ends the process with an error naming path and the problem.
void read_configuration(const RegularFile& file, const std::string& path,
                        boost::property_tree::ptree& conf);

// The reading and checks of read_configuration: the error text naming path and the problem,
// or nothing when conf holds a usable configuration.
std::optional<std::string> parse_configuration(std::istream& stream, const std::string& path,
                                               boost::property_tree::ptree& conf);

// The value of a key at the root of conf, outside every section; a section of that name
// counts too, with an empty value.
std::optional<std::string> top_level_value(const boost::property_tree::ptree& conf,
                                           const std::string& key);

// One warn line for each top-level key that radmill doesn't read, so that a misspelt key
// doesn't pass silently. Sections are left alone.
void warn_unknown_keys(const boost::property_tree::ptree& conf);

// The value of a key at the root of conf; unlike top_level_value, a section of that name
// doesn't count.
std::optional<std::string> key_value(const boost::property_tree::ptree& conf,
                                     const std::string& key);

// Whether conf asks for single-band output; logs so when it does.
bool single_band_mode(const boost::property_tree::ptree& conf);

}  // namespace qrdcvt
