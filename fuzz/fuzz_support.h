#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace radmill_fuzz {

// Builds every log record at every level but sends none anywhere: the code paths of the
// messages run, the terminal stays quiet and the fuzzer stays fast.
void silence_log();

// A directory of this process's own, created on first use and removed at exit; ends in "/".
const std::string& scratch_directory();

// Replaces the file at path with the size bytes at data.
void write_bytes(const std::string& path, const std::uint8_t* data, std::size_t size);

}  // namespace radmill_fuzz
