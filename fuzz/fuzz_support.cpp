#include "fuzz_support.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "simple_logger.h"

namespace radmill_fuzz {

namespace fs = std::filesystem;

namespace {

std::string make_scratch_directory() {
    std::string pattern = (fs::temp_directory_path() / "radmill-fuzz-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    return pattern + "/";
}

}  // namespace

void silence_log() {
    auto* log = corvane::rs::wr::log::SimpleLogger::getInstance("radmill");
    log->set_sink_off(STDERR_SINK);
    log->get_logger()->set_level(spdlog::level::trace);
}

const std::string& scratch_directory() {
    static const std::string directory = make_scratch_directory();
    static const bool removed_at_exit = (std::atexit([] {
                                             std::error_code ignored;
                                             fs::remove_all(directory, ignored);
                                         }) == 0);
    (void)removed_at_exit;
    return directory;
}

void write_bytes(const std::string& path, const std::uint8_t* data, std::size_t size) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    if (!out) throw std::runtime_error("cannot write " + path);
}

}  // namespace radmill_fuzz
