#pragma once

#include <boost/property_tree/ptree.hpp>
#include <string>

namespace qrdcvt {

// Printed by --version.
extern const std::string program_version;
// The name the logger runs under.
extern const std::string program_name;
// The site configuration, filled once from radmill.conf and never changed afterwards.
extern boost::property_tree::ptree radmill_conf;

}  // namespace qrdcvt
