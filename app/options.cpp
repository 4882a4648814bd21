#include "options.h"

#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "program_globals.h"
#include "simple_logger.h"

namespace po = boost::program_options;

namespace qrdcvt {

namespace {

po::options_description option_group() {
    po::options_description group("Options");
    // clang-format off
    group.add_options()
        ("help,h", "produce help message")
        ("version,v", "show version information")
        ("log-level,l", po::value<std::string>(),
            "Log level (trace, debug, info, warn, error, critical)")
        // A two-letter second name is a second long name, so "--if" is the only form.
        ("if,if", po::value<std::string>()->default_value("-"),
            "Filename for protobuf binary file")
        ("ip,i", po::value<std::string>()->required(),
            "Full path to protobuf binary file (mandatory)")
        ("op,o", po::value<std::string>()->default_value("-"),
            "geoTIFF output file, default \"-\": stdout")
        ("color-type,t", po::value<std::string>()->default_value("grayscale"),
            "Color type for output GeoTIFF (palette, rgb, grayscale, float)");
    // clang-format on
    return group;
}

[[noreturn]] void exit_with_usage_error(const std::string& message) {
    std::cerr << message << std::endl;
    std::exit(1);
}

// The library would report a second positional path as "--ip" given twice, which the user
// never typed; name the paths instead.
void reject_second_input_path(const po::parsed_options& parsed) {
    std::vector<std::string> input_paths;
    for (const auto& option : parsed.options) {
        if (option.string_key == "ip" && !option.value.empty()) {
            input_paths.push_back(option.value.front());
        }
    }
    if (input_paths.size() < 2) return;
    std::string message = "only one input path may be given, but got";
    for (std::size_t i = 0; i < input_paths.size(); ++i) {
        message += (i == 0 ? " '" : ", '") + input_paths[i] + "'";
    }
    exit_with_usage_error(message);
}

}  // namespace

po::variables_map parse_args(int argc, char* argv[], std::vector<std::string>* unrecognised) {
    const po::options_description group = option_group();
    po::positional_options_description positional;
    positional.add("ip", -1);

    po::variables_map options;
    try {
        const po::parsed_options parsed = po::command_line_parser(argc, argv)
                                              .options(group)
                                              .positional(positional)
                                              .allow_unregistered()
                                              .run();
        reject_second_input_path(parsed);
        po::store(parsed, options);
        if (unrecognised != nullptr) {
            *unrecognised = po::collect_unrecognized(parsed.options, po::exclude_positional);
        }
    } catch (const po::error& e) {
        exit_with_usage_error(e.what());
    }
    check_args(options, group);
    return options;
}

void warn_unrecognised_options(const std::vector<std::string>& unrecognised) {
    for (const std::string& option : unrecognised) {
        corvane::rs::wr::log::SimpleLogger::getInstance()->warn()
            << "Ignoring unrecognised option: " << option << std::endl;
    }
}

void check_args(po::variables_map options, po::options_description description) {
    if (options.count("version") != 0) {
        std::cerr << program_version << std::endl;
        std::exit(0);
    }
    if (options.count("help") != 0) {
        std::cerr << description;
        std::exit(0);
    }
    try {
        po::notify(options);
    } catch (const po::required_option& e) {
        std::cerr << e.what() << std::endl << description;
        std::exit(1);
    }
}

}  // namespace qrdcvt
