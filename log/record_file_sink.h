#pragma once

#include <spdlog/details/null_mutex.h>
#include <spdlog/sinks/base_sink.h>

#include <string>

namespace nimlog_detail {

// A log file that takes each record in one write(2) on a descriptor opened for appending, so
// that runs sharing a log never split one another's records, however long.
class record_file_sink : public spdlog::sinks::base_sink<spdlog::details::null_mutex> {
  public:
    // Throws spdlog's exception when path can't be opened; truncates it unless append.
    record_file_sink(const std::string& path, bool append);
    ~record_file_sink() override;

  protected:
    void sink_it_(const spdlog::details::log_msg& message) override;
    void flush_() override {}

  private:
    int fd_;
};

}  // namespace nimlog_detail
