#include "program_globals.h"

namespace qrdcvt {

const std::string program_version = "v10.5.2";
const std::string program_name = "radmill";
boost::property_tree::ptree radmill_conf;

}  // namespace qrdcvt
