#include "log_setup.h"

#include <spdlog/spdlog.h>

#include <exception>

#include "configuration.h"
#include "simple_logger.h"

namespace qrdcvt {

namespace {

using corvane::rs::wr::log::SimpleLogger;

std::string chosen_level_text(const boost::property_tree::ptree& conf,
                              const boost::program_options::variables_map& options) {
    std::string text = top_level_value(conf, "log_level").value_or("info");
    if (options.count("log-level") != 0) {
        text = options["log-level"].as<std::string>();
        // Written before the new level applies.
        SimpleLogger::getInstance()->info()
            << "Log level overridden by command line '" << text << "'" << std::endl;
    }
    return text;
}

// spdlog's from_str turns every name it does not know into "off", which would silence the
// very warning that explains it; only the word "off" itself may give that level.
bool is_level_name(const std::string& text) {
    return spdlog::level::from_str(text) != spdlog::level::off || text == "off";
}

void fall_back_to_info(spdlog::logger& logger, const std::string& text) {
    SimpleLogger::getInstance()->warn()
        << "Invalid log level '" << text
        << "', using default 'info'. Valid levels: trace, debug, info, warn, error, critical"
        << std::endl;
    logger.set_level(spdlog::level::info);
    spdlog::set_level(spdlog::level::info);
}

}  // namespace

void set_up_log_file(const std::string& log_path, const boost::property_tree::ptree& conf) {
    // read_configuration has made sure the key is there.
    const bool append = top_level_value(conf, "append_log") == "true";
    SimpleLogger* log = SimpleLogger::getInstance();
    log->set_sink_off(STDERR_SINK);
    // A file that cannot be opened turns standard error back on with an error record.
    if (log->set_log_file(log_path.c_str(), append)) {
        // So that a person at the shell sees why a run failed.
        log->set_sink_level(STDERR_SINK, spdlog::level::err);
    }
}

void set_log_level(const boost::property_tree::ptree& conf,
                   const boost::program_options::variables_map& options) {
    const std::string text = chosen_level_text(conf, options);
    const std::shared_ptr<spdlog::logger> logger = SimpleLogger::getInstance()->get_logger();
    if (!logger) return;
    if (!is_level_name(text)) {
        fall_back_to_info(*logger, text);
        return;
    }
    const spdlog::level::level_enum level = spdlog::level::from_str(text);
    try {
        logger->set_level(level);
        spdlog::set_level(level);
        SimpleLogger::getInstance()->info() << "Log level set to '" << text << "'" << std::endl;
    } catch (const std::exception&) {
        fall_back_to_info(*logger, text);
    }
}

}  // namespace qrdcvt
