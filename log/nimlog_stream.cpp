#include "nimlog_stream.h"

#include <spdlog/sinks/basic_file_sink.h>
#include <spdlog/sinks/stdout_sinks.h>

#include <cerrno>
#include <filesystem>

namespace {

// Timestamp, logger name, level, message.
constexpr const char* record_pattern = "[%Y-%m-%d %H:%M:%S.%e] [%n] [%l] %v";

// spdlog's file sink creates missing directories; a log directory that does not exist must
// fail like any other unopenable log file instead.
std::shared_ptr<spdlog::sinks::basic_file_sink_mt> open_file_sink(const char* path, bool append) {
    const std::filesystem::path directory = std::filesystem::path(path).parent_path();
    std::error_code ignored;
    if (!directory.empty() && !std::filesystem::is_directory(directory, ignored)) {
        spdlog::throw_spdlog_ex(std::string("Failed opening file ") + path + " for writing",
                                ENOENT);
    }
    return std::make_shared<spdlog::sinks::basic_file_sink_mt>(path, !append);
}

}  // namespace

namespace nimlog_detail {

line_buffer::line_buffer(std::shared_ptr<spdlog::logger> logger) : logger_(std::move(logger)) {}

void line_buffer::select(spdlog::level::level_enum level) {
    // A line left open under the previous level still belongs to that level.
    emit();
    level_ = level;
}

line_buffer::int_type line_buffer::overflow(int_type ch) {
    if (traits_type::eq_int_type(ch, traits_type::eof())) return traits_type::not_eof(ch);
    if (traits_type::to_char_type(ch) == '\n') {
        emit();
    } else {
        line_.push_back(traits_type::to_char_type(ch));
    }
    return ch;
}

std::streamsize line_buffer::xsputn(const char* text, std::streamsize count) {
    for (std::streamsize i = 0; i < count; ++i) overflow(traits_type::to_int_type(text[i]));
    return count;
}

int line_buffer::sync() {
    emit();
    logger_->flush();
    return 0;
}

void line_buffer::emit() {
    if (line_.empty()) return;
    logger_->log(level_, line_);
    line_.clear();
}

}  // namespace nimlog_detail

nimlog_stream::nimlog_stream(const char* name)
    : std::ostream(nullptr),
      logger_(std::make_shared<spdlog::logger>(name,
                                               std::make_shared<spdlog::sinks::stderr_sink_mt>())),
      buffer_(logger_) {
    rdbuf(&buffer_);
    logger_->set_pattern(record_pattern);
    logger_->set_level(spdlog::level::info);
    logger_->flush_on(spdlog::level::trace);
}

nimlog_stream::~nimlog_stream() { flush(); }

std::ostream& nimlog_stream::at(spdlog::level::level_enum level) {
    buffer_.select(level);
    return *this;
}

std::ostream& nimlog_stream::info() { return at(spdlog::level::info); }
std::ostream& nimlog_stream::warn() { return at(spdlog::level::warn); }
std::ostream& nimlog_stream::debug() { return at(spdlog::level::debug); }
std::ostream& nimlog_stream::error() { return at(spdlog::level::err); }
std::ostream& nimlog_stream::trace() { return at(spdlog::level::trace); }

bool nimlog_stream::set_log_file(const char* path, bool append) {
    flush();
    try {
        auto sink = open_file_sink(path, append);
        sink->set_pattern(record_pattern);
        logger_->sinks().push_back(std::move(sink));
        return true;
    } catch (const spdlog::spdlog_ex& e) {
        logger_->sinks().front()->set_level(spdlog::level::trace);
        logger_->error(std::string("Cannot open log file: ") + e.what());
        return false;
    }
}

void nimlog_stream::set_sink_off(outbuf_sink sink) { set_sink_level(sink, spdlog::level::off); }

void nimlog_stream::set_sink_level(outbuf_sink sink, spdlog::level::level_enum level) {
    flush();
    auto& sinks = logger_->sinks();
    if (static_cast<size_t>(sink) < sinks.size()) sinks[sink]->set_level(level);
}

std::shared_ptr<spdlog::logger> nimlog_stream::get_logger() { return logger_; }
