#include "record_file_sink.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace nimlog_detail {

record_file_sink::record_file_sink(const std::string& path, bool append)
    : fd_(::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC | (append ? 0 : O_TRUNC),
                 0644)) {
    if (fd_ < 0) spdlog::throw_spdlog_ex("Failed opening file " + path + " for writing", errno);
}

record_file_sink::~record_file_sink() { ::close(fd_); }

void record_file_sink::sink_it_(const spdlog::details::log_msg& message) {
    spdlog::memory_buf_t record;
    formatter_->format(message, record);
    const char* data = record.data();
    std::size_t left = record.size();
    // A regular file takes the whole record at once; only a full disk or a size limit stops
    // it short, and then the rest is tried once more for the error it gives.
    while (left > 0) {
        const ssize_t written = ::write(fd_, data, left);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return;
        data += written;
        left -= static_cast<std::size_t>(written);
    }
}

}  // namespace nimlog_detail
