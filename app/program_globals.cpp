#include "program_globals.h"

#include "radmill_version.h"

namespace qrdcvt {

const std::string program_version = "v" RADMILL_VERSION;
const std::string program_name = "radmill";
boost::property_tree::ptree radmill_conf;

}  // namespace qrdcvt
