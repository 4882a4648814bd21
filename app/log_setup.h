#pragma once

#include <boost/program_options.hpp>
#include <boost/property_tree/ptree.hpp>
#include <string>

namespace qrdcvt {

// Moves the log from standard error to log_path, appending when the configuration's
// "append_log" is exactly "true" and starting the file afresh otherwise. Records at error
// level and above still go to standard error as well.
void set_up_log_file(const std::string& log_path, const boost::property_tree::ptree& conf);

// Sets the log level: "info", replaced by the configuration's "log_level", replaced by
// --log-level. A name spdlog does not know is reported and gives "info"; "off" silences.
void set_log_level(const boost::property_tree::ptree& conf,
                   const boost::program_options::variables_map& options);

}  // namespace qrdcvt
