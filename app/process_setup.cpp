#include "process_setup.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>

#include "fatal_error.h"

namespace qrdcvt {

void prepare_process() {
    for (int fd = 0; fd <= 2; ++fd) {
        if (::fcntl(fd, F_GETFD) != -1) continue;
        const int null = ::open("/dev/null", O_RDWR);
        if (null >= 0 && null != fd) {
            ::dup2(null, fd);
            ::close(null);
        }
    }
    std::signal(SIGXFSZ, SIG_IGN);
}

void require_distinct_output(const std::string& input_path, const std::string& output_path) {
    struct stat input {};
    struct stat output {};
    if (::stat(input_path.c_str(), &input) != 0 || ::stat(output_path.c_str(), &output) != 0) {
        return;
    }
    if (input.st_dev == output.st_dev && input.st_ino == output.st_ino) {
        exit_with_error("Input and output are the same file: " + input_path + " and " +
                        output_path);
    }
}

}  // namespace qrdcvt
