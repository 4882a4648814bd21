#include "nimlog_stream.h"

#include <spdlog/sinks/stdout_sinks.h>

#include "record_file_sink.h"

namespace {

// Timestamp, logger name, level, message.
constexpr const char* record_pattern = "[%Y-%m-%d %H:%M:%S.%e] [%n] [%l] %v";

// A record is one line: a newline or another control byte in a value from outside (a path,
// a name from the product) is written escaped, so that it can't start a record of its own.
std::string escaped(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\n') {
            out += "\\n";
        } else if (byte < 0x20 || byte == 0x7F) {
            static const char digits[] = "0123456789ABCDEF";
            out += "\\x";
            out += digits[byte >> 4];
            out += digits[byte & 0xF];
        } else {
            out += c;
        }
    }
    return out;
}

}  // namespace

namespace nimlog_detail {

line_buffer::line_buffer(std::shared_ptr<spdlog::logger> logger) : logger_(std::move(logger)) {}

void line_buffer::select(spdlog::level::level_enum level) {
    // A line left open under the previous level still belongs to that level.
    emit();
    level_ = level;
}

// A message ends where it is flushed (std::endl) or the next level is chosen; the newline
// that ends it is not part of it.
line_buffer::int_type line_buffer::overflow(int_type ch) {
    if (traits_type::eq_int_type(ch, traits_type::eof())) return traits_type::not_eof(ch);
    line_.push_back(traits_type::to_char_type(ch));
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
    if (!line_.empty() && line_.back() == '\n') line_.pop_back();
    if (line_.empty()) return;
    logger_->log(level_, escaped(line_));
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
        auto sink = std::make_shared<nimlog_detail::record_file_sink>(path, append);
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
