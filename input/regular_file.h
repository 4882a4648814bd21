#pragma once

#include <string>

namespace qrdcvt {

// The whole text of a small file that must be a regular one: a configuration or colour-scale
// file. A FIFO without a writer, a device or a directory is refused at once, never waited on.
struct RegularFile {
    enum class Status { READ, CANNOT_OPEN, NOT_REGULAR };
    Status status;
    std::string text;  // when READ
};

RegularFile read_regular_file(const std::string& path);

}  // namespace qrdcvt
