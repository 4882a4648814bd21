// The configuration file: INI reading and its checks, then the keys the program reads.

#include <boost/program_options/variables_map.hpp>
#include <boost/property_tree/ptree.hpp>
#include <cstdint>
#include <sstream>
#include <string>

#include "configuration.h"
#include "fuzz_support.h"
#include "log_setup.h"
#include "output_settings.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    radmill_fuzz::silence_log();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::istringstream stream(std::string(reinterpret_cast<const char*>(data), size));
    boost::property_tree::ptree conf;
    if (qrdcvt::parse_configuration(stream, "radmill.conf", conf)) return 0;
    qrdcvt::set_log_level(conf, boost::program_options::variables_map());
    qrdcvt::parse_output_options(conf, "radmill.conf");
    qrdcvt::warn_unknown_keys(conf);
    qrdcvt::single_band_mode(conf);
    radmill_fuzz::silence_log();  // the file may have chosen "off" or another level
    return 0;
}
