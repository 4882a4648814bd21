#include "converter.h"

#include "simple_logger.h"

#include <cstdlib>

namespace qrdcvt {

void convert(const qrd::pb::common::Product&, const ColorType&, const std::string&,
             const std::string&, const std::string&, const std::string&, const std::string&,
             bool) {
    corvane::rs::wr::log::SimpleLogger::getInstance()->error()
        << "GeoTIFF conversion is not built yet" << std::endl;
    std::exit(1);
}

}  // namespace qrdcvt
