#pragma once

#include <boost/property_tree/ptree.hpp>
#include <string>
#include <variant>

#include "output_options.h"

namespace qrdcvt {

// The output options that the configuration at path asks for. A value that a key doesn't
// take ends the process with an error naming the file, the key, the value and the valid
// values.
OutputOptions read_output_options(const boost::property_tree::ptree& conf, const std::string& path);

// The reading of read_output_options: the options, or the error text.
std::variant<OutputOptions, std::string> parse_output_options(
    const boost::property_tree::ptree& conf, const std::string& path);

}  // namespace qrdcvt
