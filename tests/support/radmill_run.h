#pragma once

#include <map>
#include <string>
#include <vector>

namespace radmill_test {

// A scratch installation: config/ and log/ directories under a fresh temporary directory,
// removed again when the object goes.
class TempInstall {
  public:
    TempInstall();
    ~TempInstall();
    TempInstall(const TempInstall&) = delete;
    TempInstall& operator=(const TempInstall&) = delete;

    const std::string& root() const { return root_; }
    std::string config_dir() const { return root_ + "/config/"; }  // ends in "/"
    std::string log_dir() const { return root_ + "/log/"; }        // ends in "/"
    std::string path(const std::string& name) const { return root_ + "/" + name; }
    std::string log_path() const { return log_dir() + "radmill.log"; }

    void write_config(const std::string& text) const;
    // Copies the four colour-scale files of examples/install into config/.
    void install_example_scales() const;
    // The records of the log file (see log_records); none when there is no file.
    std::vector<std::string> log() const;

    // ALVO_CONFIG and ALVO_LOG pointing at this installation.
    std::map<std::string, std::string> env() const;

  private:
    std::string root_;
};

struct RunResult {
    int status = -1;  // exit status, or 128 + signal number
    std::string stderr_text;
};

// Runs any program with args, the given environment variables added and standard input
// empty.
RunResult run_program(const std::string& program, const std::vector<std::string>& args,
                      const std::map<std::string, std::string>& env = {});
// Runs the built radmill binary the same way.
RunResult run_radmill(const std::vector<std::string>& args,
                      const std::map<std::string, std::string>& env = {});

std::string read_file(const std::string& path);
void write_file(const std::string& path, const std::string& bytes);
bool file_exists(const std::string& path);
// The names in a directory, hidden ones included, sorted.
std::vector<std::string> directory_entries(const std::string& path);

// The lines of a log as "[level] message": each record "[2024-06-01 10:00:00.000] [radmill]
// [info] message" loses its time and logger name. Lines of another layout stay as they are,
// so that they can't pass for records.
std::vector<std::string> log_records(const std::string& text);
// The whole lines of a log text's error records: what a run also shows on standard error
// once its log file is open.
std::string error_records(const std::string& log_text);

}  // namespace radmill_test
