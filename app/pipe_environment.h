#pragma once

#include <boost/program_options.hpp>
#include <string>

namespace qrd {

// Maps an ALVO_* environment variable's name to its directory option; "" for every other
// name, which makes the environment parser skip the variable.
std::string name_mapper_func(std::string name);

// The installation's directories ("bin", "config", "log", "pipes", "temp",
// "config_template"), each a built-in default unless its ALVO_* variable is set. The values
// are used as prefixes: a file path is the value followed directly by the file name.
class PipeEnvironment : public boost::program_options::variables_map {
  public:
    // Reads the environment now. When parent is not null, the "Environment" group is also
    // added to it, so that a program's help can list the directories.
    explicit PipeEnvironment(boost::program_options::options_description* parent);
    ~PipeEnvironment() override;
};

}  // namespace qrd
