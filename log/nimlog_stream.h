#pragma once

#include <spdlog/common.h>
#include <spdlog/logger.h>

#include <memory>
#include <ostream>
#include <streambuf>
#include <string>

// Output sinks of a nimlog_stream, by index: the initial standard-error sink is 0.
enum outbuf_sink { STDERR_SINK = 0 };

namespace nimlog_detail {

// Collects inserted characters and hands every completed line to spdlog as one record
// at the level selected last.
class line_buffer : public std::streambuf {
  public:
    explicit line_buffer(std::shared_ptr<spdlog::logger> logger);
    void select(spdlog::level::level_enum level);

  protected:
    int_type overflow(int_type ch) override;
    std::streamsize xsputn(const char* text, std::streamsize count) override;
    int sync() override;

  private:
    void emit();

    std::shared_ptr<spdlog::logger> logger_;
    spdlog::level::level_enum level_ = spdlog::level::info;
    std::string line_;
};

}  // namespace nimlog_detail

// A logging stream over spdlog: select a level, insert a message, end it with std::endl.
// Records go to standard error until set_sink_off and set_log_file redirect them.
class nimlog_stream : public std::ostream {
  public:
    explicit nimlog_stream(const char* name);
    ~nimlog_stream() override;

    std::ostream& info();
    std::ostream& warn();
    std::ostream& debug();
    std::ostream& error();
    std::ostream& trace();

    // Adds a file sink at path, appending when append is true, else truncating.
    // Returns false when the file cannot be opened (a missing directory is not created);
    // standard error is then turned back on and carries an error record saying why.
    bool set_log_file(const char* path, bool append);
    void set_sink_off(outbuf_sink sink);
    // Passes the records at level and above through sink; the other sinks are not affected.
    void set_sink_level(outbuf_sink sink, spdlog::level::level_enum level);
    std::shared_ptr<spdlog::logger> get_logger();

  private:
    std::ostream& at(spdlog::level::level_enum level);

    std::shared_ptr<spdlog::logger> logger_;
    nimlog_detail::line_buffer buffer_;
};
