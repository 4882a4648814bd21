#include "install_paths.h"

namespace qrdcvt {

std::string directory(const qrd::PipeEnvironment& environment, const std::string& option) {
    return environment[option].as<std::string>();
}

std::string configuration_path(const qrd::PipeEnvironment& environment) {
    return directory(environment, "config") + "radmill.conf";
}

std::string log_file_path(const qrd::PipeEnvironment& environment) {
    return directory(environment, "log") + "radmill.log";
}

ColorScalePaths color_scale_paths(const qrd::PipeEnvironment& environment) {
    const std::string config = directory(environment, "config");
    return {config + "color_scales.json", config + "default_color_scales.json",
            config + "color_scales_palette.json", config + "default_color_scales_palette.json"};
}

}  // namespace qrdcvt
