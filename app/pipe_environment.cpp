#include "pipe_environment.h"

namespace po = boost::program_options;

namespace qrd {

namespace {

po::options_description environment_group() {
    po::options_description group("Environment");
    // clang-format off
    group.add_options()
        ("bin", po::value<std::string>()->default_value("/usr/bin"), "")
        ("config", po::value<std::string>()->default_value("/etc/corvane/alvoacq"),
            "configuration directory")
        ("log", po::value<std::string>()->default_value("/var/log/alvoacq"), "log directory")
        ("pipes", po::value<std::string>()->default_value("/usr/libexec/corvane/pipes"), "")
        ("temp", po::value<std::string>()->default_value("/var/spool/corvane-io/temp"),
            "temp directory")
        // No variable sets it: the template directory is always the installed one.
        ("config_template",
            po::value<std::string>()->default_value("/etc/corvane/alvoacq_templates"),
            "template configuration directory");
    // clang-format on
    return group;
}

}  // namespace

std::string name_mapper_func(std::string name) {
    if (name == "ALVO_BIN") return "bin";
    if (name == "ALVO_PIPES") return "pipes";
    if (name == "ALVO_LOG") return "log";
    if (name == "ALVO_CONFIG") return "config";
    if (name == "ALVO_TEMP") return "temp";
    return "";
}

PipeEnvironment::PipeEnvironment(po::options_description* parent) {
    const po::options_description group = environment_group();
    if (parent != nullptr) parent->add(group);
    // Defaults enter the map here too; notify is not needed as nothing is required.
    po::store(po::parse_environment(group, &name_mapper_func), *this);
}

PipeEnvironment::~PipeEnvironment() = default;

}  // namespace qrd
