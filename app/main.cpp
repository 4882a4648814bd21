#include <cstdlib>
#include <exception>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "color_type_word.h"
#include "configuration.h"
#include "converter.h"
#include "fatal_error.h"
#include "input_product.h"
#include "install_paths.h"
#include "log_setup.h"
#include "options.h"
#include "output_settings.h"
#include "pipe_environment.h"
#include "process_setup.h"
#include "program_globals.h"
#include "simple_logger.h"

// One conversion per run. Every failure ends the process inside the step that finds it;
// a successful run ends inside the converter.
int main(int argc, char* argv[]) {
    using namespace qrdcvt;
    namespace logging = corvane::rs::wr::log;
    prepare_process();
    try {
        std::vector<std::string> unrecognised_options;
        const auto options = parse_args(argc, argv, &unrecognised_options);
        const std::string input_path = options["ip"].as<std::string>();
        const std::string output_path = options["op"].as<std::string>();
        const std::string color_type_word = options["color-type"].as<std::string>();

        const qrd::PipeEnvironment environment(nullptr);
        logging::SimpleLogger::getInstance(program_name.c_str());
        std::atexit(logging::exit_handler);

        // Opened before the colour type is checked, but only looked at afterwards.
        const std::string config_path = configuration_path(environment);
        const RegularFile config_file = open_configuration(config_path);
        const ColorScalePaths scales = color_scale_paths(environment);
        const ColorType color_type = require_color_type(color_type_word);
        require_configuration(config_file, config_path, environment);
        read_configuration(config_file, config_path, radmill_conf);
        const OutputOptions output_options = read_output_options(radmill_conf, config_path);

        set_up_log_file(log_file_path(environment), radmill_conf);
        set_log_level(radmill_conf, options);
        warn_unrecognised_options(unrecognised_options);
        warn_unknown_keys(radmill_conf);

        // The file's bytes go as soon as they are parsed, and the product moves on into the
        // converter: the raster is held once.
        require_distinct_output(input_path, output_path);
        qrd::pb::common::InstrumentData envelope = parse_input(read_input_file(input_path));
        require_raster_data(require_product(envelope));
        const bool single_band = single_band_mode(radmill_conf);

        convert(std::move(*envelope.mutable_product()), color_type, output_path, scales,
                single_band, output_options);
    } catch (const std::exception& e) {
        exit_with_error(std::string("Unexpected error: ") + e.what());
    } catch (...) {
        exit_with_error("Unexpected error");
    }
    std::exit(0);
}
