#include "output_file.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <memory>

namespace qrdcvt {

namespace {

constexpr const char* temporary_suffix = ".radmill-partial";

// The file that writing to path replaces: the end of a chain of links, else path itself.
std::string replaced_file(const std::string& path) {
    struct stat link {};
    if (::lstat(path.c_str(), &link) != 0 || !S_ISLNK(link.st_mode)) return path;
    const std::unique_ptr<char, decltype(&std::free)> resolved(::realpath(path.c_str(), nullptr),
                                                               &std::free);
    if (resolved) return resolved.get();
    // A dangling link: its target is created.
    char target[PATH_MAX];
    const ssize_t length = ::readlink(path.c_str(), target, sizeof target - 1);
    if (length <= 0) return path;
    const std::string text(target, static_cast<std::size_t>(length));
    const std::size_t slash = path.rfind('/');
    if (text.front() == '/' || slash == std::string::npos) return text;
    return path.substr(0, slash + 1) + text;
}

// The permission bits a file created now gets.
mode_t new_file_mode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

}  // namespace

OutputFile::~OutputFile() {
    if (!temporary.empty()) ::unlink(temporary.c_str());
}

int OutputFile::open() {
    const std::string target = replaced_file(path);
    struct stat existing {};
    const bool exists = ::stat(target.c_str(), &existing) == 0;
    if (exists && !S_ISREG(existing.st_mode)) {
        return ::open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    }
    const int fd = create_temporary(target);
    if (fd >= 0) {
        final_path = target;
        ::fchmod(fd, exists ? existing.st_mode & 07777 : new_file_mode());
    }
    return fd;
}

int OutputFile::open_scratch() { return create_temporary(replaced_file(path)); }

const std::string& OutputFile::written_path() const { return writes_directly() ? path : temporary; }

int OutputFile::create_temporary(const std::string& target) {
    const std::size_t slash = target.rfind('/');
    const std::string directory = slash == std::string::npos ? "" : target.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
    std::string pattern = directory + "." + name + ".XXXXXX" + temporary_suffix;
    const int fd =
        ::mkostemps(pattern.data(),
                    static_cast<int>(std::char_traits<char>::length(temporary_suffix)), O_CLOEXEC);
    if (fd >= 0) temporary = pattern;
    return fd;
}

bool OutputFile::commit() {
    if (writes_directly()) return true;
    if (::rename(temporary.c_str(), final_path.c_str()) != 0) return false;
    temporary.clear();
    return true;
}

}  // namespace qrdcvt
