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
    std::string log_text() const;
    std::vector<std::string> log_messages() const;  // message parts of the log records

    // ALVO_CONFIG and ALVO_LOG pointing at this installation.
    std::map<std::string, std::string> env() const;

  private:
    std::string root_;
};

struct RunResult {
    int status = -1;  // exit status, or 128 + signal number
    std::string stderr_text;
};

// Runs the built radmill binary with args and the given environment variables added.
RunResult run_radmill(const std::vector<std::string>& args,
                      const std::map<std::string, std::string>& env = {});
// Runs any program (the sample maker, for instance) the same way.
RunResult run_program(const std::string& program, const std::vector<std::string>& args,
                      const std::map<std::string, std::string>& env = {});

std::string read_file(const std::string& path);
void write_file(const std::string& path, const std::string& bytes);
bool file_exists(const std::string& path);

// The message part of a log record "[time] [name] [level] message".
std::string record_message(const std::string& record);
// The level part of a log record.
std::string record_level(const std::string& record);
// The records of a log text at error level, whole lines: what a run also shows on standard
// error once its log file is open.
std::string error_records(const std::string& log_text);

}  // namespace radmill_test
