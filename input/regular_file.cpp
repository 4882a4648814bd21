#include "regular_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace qrdcvt {

RegularFile read_regular_file(const std::string& path) {
    // Non-blocking, so that opening a FIFO can't wait for a writer.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return {RegularFile::Status::CANNOT_OPEN, {}};
    struct stat status {};
    RegularFile file{RegularFile::Status::NOT_REGULAR, {}};
    if (::fstat(fd, &status) == 0 && S_ISREG(status.st_mode)) {
        file.status = RegularFile::Status::READ;
        char chunk[65536];
        while (true) {
            const ssize_t count = ::read(fd, chunk, sizeof chunk);
            if (count > 0) {
                file.text.append(chunk, static_cast<std::size_t>(count));
            } else if (count == 0) {
                break;
            } else if (errno != EINTR) {
                file = {RegularFile::Status::CANNOT_OPEN, {}};
                break;
            }
        }
    }
    ::close(fd);
    return file;
}

}  // namespace qrdcvt
