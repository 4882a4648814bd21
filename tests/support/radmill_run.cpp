#include "radmill_run.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

extern char** environ;

namespace radmill_test {

namespace fs = std::filesystem;

TempInstall::TempInstall() {
    std::string pattern = (fs::temp_directory_path() / "radmill-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    root_ = pattern;
    fs::create_directories(root_ + "/config");
    fs::create_directories(root_ + "/log");
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

std::string TempInstall::log_text() const {
    return file_exists(log_path()) ? read_file(log_path()) : std::string();
}

std::vector<std::string> TempInstall::log_messages() const {
    std::vector<std::string> messages;
    std::istringstream lines(log_text());
    for (std::string line; std::getline(lines, line);) messages.push_back(record_message(line));
    return messages;
}

std::map<std::string, std::string> TempInstall::env() const {
    return {{"ALVO_CONFIG", config_dir()}, {"ALVO_LOG", log_dir()}};
}

RunResult run_program(const std::string& program, const std::vector<std::string>& args,
                      const std::map<std::string, std::string>& env) {
    std::vector<std::string> env_strings;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        std::string text(*entry);
        const std::string name = text.substr(0, text.find('='));
        if (env.count(name) == 0) env_strings.push_back(text);
    }
    for (const auto& [name, value] : env) env_strings.push_back(name + "=" + value);

    std::vector<std::string> argv_strings{program};
    argv_strings.insert(argv_strings.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& arg : argv_strings) argv.push_back(arg.data());
    argv.push_back(nullptr);
    std::vector<char*> envp;
    for (auto& entry : env_strings) envp.push_back(entry.data());
    envp.push_back(nullptr);

    char stderr_path[] = "/tmp/radmill-stderr-XXXXXX";
    const int stderr_fd = mkstemp(stderr_path);
    if (stderr_fd < 0) throw std::runtime_error("mkstemp failed");

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, stderr_fd, STDERR_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    pid_t pid = 0;
    const int spawned =
        posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    close(stderr_fd);
    if (spawned != 0) {
        unlink(stderr_path);
        throw std::runtime_error("cannot start " + program);
    }

    int wait_status = 0;
    waitpid(pid, &wait_status, 0);
    RunResult result;
    result.status = WIFEXITED(wait_status) ? WEXITSTATUS(wait_status) : 128 + WTERMSIG(wait_status);
    result.stderr_text = read_file(stderr_path);
    unlink(stderr_path);
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

namespace {

// Offset just past the n-th "] " of a record.
std::size_t after_field(const std::string& record, int n) {
    std::size_t pos = 0;
    for (int i = 0; i < n; ++i) {
        pos = record.find("] ", pos);
        if (pos == std::string::npos) return std::string::npos;
        pos += 2;
    }
    return pos;
}

}  // namespace

std::string record_message(const std::string& record) {
    const std::size_t pos = after_field(record, 3);
    return pos == std::string::npos ? record : record.substr(pos);
}

std::string record_level(const std::string& record) {
    const std::size_t start = after_field(record, 2);
    if (start == std::string::npos || start >= record.size()) return {};
    return record.substr(start + 1, record.find(']', start) - start - 1);
}

std::string error_records(const std::string& log_text) {
    std::string records;
    std::istringstream lines(log_text);
    for (std::string line; std::getline(lines, line);) {
        if (record_level(line) == "error") records += line + "\n";
    }
    return records;
}

}  // namespace radmill_test
