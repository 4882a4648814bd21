#pragma once

#include <boost/program_options.hpp>

namespace qrdcvt {

// Parses the command line. Ends the process for --version and --help (status 0) and for a
// missing input path or any other command-line error (status 1, message on standard error).
boost::program_options::variables_map parse_args(int argc, char* argv[]);

// Acts on --version, then --help, then the mandatory input path; returns when none applies.
void check_args(boost::program_options::variables_map options,
                boost::program_options::options_description description);

}  // namespace qrdcvt
