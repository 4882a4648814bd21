#include "radmill_run.h"

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <stdexcept>

namespace radmill_test {

namespace fs = std::filesystem;

TempInstall::TempInstall() {
    std::string pattern = (fs::temp_directory_path() / "radmill-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    root_ = pattern;
    fs::create_directories(config_dir());
    fs::create_directories(log_dir());
}

TempInstall::~TempInstall() {
    std::error_code ignored;
    fs::remove_all(root_, ignored);
}

void TempInstall::write_config(const std::string& text) const {
    write_file(config_dir() + "radmill.conf", text);
}

void TempInstall::install_example_scales() const {
    for (const char* name : {"default_color_scales.json", "color_scales.json",
                             "default_color_scales_palette.json", "color_scales_palette.json"}) {
        fs::copy_file(std::string(RADMILL_EXAMPLES_DIR) + "/install/" + name, config_dir() + name,
                      fs::copy_options::overwrite_existing);
    }
}

std::vector<std::string> TempInstall::log() const {
    return file_exists(log_path()) ? log_records(read_file(log_path()))
                                   : std::vector<std::string>();
}

std::map<std::string, std::string> TempInstall::env() const {
    return {{"ALVO_CONFIG", config_dir()}, {"ALVO_LOG", log_dir()}};
}

namespace {

// text as one word for /bin/sh.
std::string quoted(const std::string& text) {
    std::string word = "'";
    for (const char c : text) word += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return word + "'";
}

}  // namespace

RunResult run_program(const std::string& program, const std::vector<std::string>& args,
                      const std::map<std::string, std::string>& env) {
    char stderr_path[] = "/tmp/radmill-stderr-XXXXXX";
    const int stderr_fd = mkstemp(stderr_path);
    if (stderr_fd < 0) throw std::runtime_error("mkstemp failed");
    close(stderr_fd);
    std::string command = "exec env";
    for (const auto& [name, value] : env) command += " " + quoted(name + "=" + value);
    command += " " + quoted(program);
    for (const std::string& arg : args) command += " " + quoted(arg);
    const int status = std::system((command + " </dev/null 2>" + stderr_path).c_str());
    RunResult result;
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    result.stderr_text = read_file(stderr_path);
    std::remove(stderr_path);
    return result;
}

RunResult run_radmill(const std::vector<std::string>& args,
                      const std::map<std::string, std::string>& env) {
    return run_program(RADMILL_BINARY, args, env);
}

std::string read_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void write_file(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
    if (!out) throw std::runtime_error("cannot write " + path);
}

bool file_exists(const std::string& path) { return fs::exists(path); }

std::vector<std::string> directory_entries(const std::string& path) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(path)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<std::string> log_records(const std::string& text) {
    static const std::regex record(
        R"(\[\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{3}\] \[radmill\] (\[\w+\] .*))");
    std::vector<std::string> records;
    std::istringstream lines(text);
    std::smatch match;
    for (std::string line; std::getline(lines, line);) {
        records.push_back(std::regex_match(line, match, record) ? match[1].str() : line);
    }
    return records;
}

std::string error_records(const std::string& log_text) {
    std::string records;
    std::istringstream lines(log_text);
    for (std::string line; std::getline(lines, line);) {
        if (line.find("] [radmill] [error] ") != std::string::npos) records += line + "\n";
    }
    return records;
}

}  // namespace radmill_test
