#pragma once

#include <boost/program_options.hpp>
#include <string>
#include <vector>

namespace qrdcvt {

// Parses the command line. Ends the process for --version and --help (status 0) and for a
// missing input path or any other command-line error (status 1, message on standard error).
// Options radmill does not know are accepted; when unrecognised is given, it receives them
// as they were written ("--colour-type=palette").
boost::program_options::variables_map parse_args(int argc, char* argv[],
                                                 std::vector<std::string>* unrecognised = nullptr);

// Logs one warn line for each unrecognised option, once the log is set up.
void warn_unrecognised_options(const std::vector<std::string>& unrecognised);

// Acts on --version, then --help, then the mandatory input path; returns when none applies.
void check_args(boost::program_options::variables_map options,
                boost::program_options::options_description description);

}  // namespace qrdcvt
