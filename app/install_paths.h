#pragma once

#include <string>

#include "color_scale_files.h"
#include "pipe_environment.h"

namespace qrdcvt {

// The value of one directory option ("config", "log", "config_template", ...).
std::string directory(const qrd::PipeEnvironment& environment, const std::string& option);

// Each path is the directory value followed directly by the file name: a directory value
// names a directory only when it ends in "/".
std::string configuration_path(const qrd::PipeEnvironment& environment);
std::string log_file_path(const qrd::PipeEnvironment& environment);
ColorScalePaths color_scale_paths(const qrd::PipeEnvironment& environment);

}  // namespace qrdcvt
