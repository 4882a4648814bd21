#pragma once

#include <string>
#include <utility>

namespace qrdcvt {

// Where a conversion writes its file. A regular file (or a new one) is written as a hidden
// temporary file beside it and renamed over it once complete, so that the output path only
// ever holds a whole file and a failed run leaves what was there. Anything else at the path
// (a device, a FIFO) is written directly. Through a symbolic link, the file it points to is
// replaced.
class OutputFile {
  public:
    explicit OutputFile(std::string path) : path(std::move(path)) {}
    ~OutputFile();  // removes a temporary file that was not put in place
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // A new descriptor to write the file through, or -1 when it can't be created.
    int open();
    // A new descriptor to a hidden scratch file beside the output, whatever is at the path;
    // the scratch file is never put in place, only removed.
    int open_scratch();
    // The path that open's or open_scratch's descriptor writes, for writers that open by name.
    const std::string& written_path() const;
    // True when open's descriptor writes the path itself (a device, a FIFO).
    bool writes_directly() const { return temporary.empty(); }
    // Puts the written, closed file at the output path; false when that fails.
    bool commit();

  private:
    // A new hidden file beside target, remembered for removal; -1 when it can't be created.
    int create_temporary(const std::string& target);

    std::string path;        // as the user gave it
    std::string temporary;   // empty when the path is written directly
    std::string final_path;  // what the temporary file is renamed to
};

}  // namespace qrdcvt
