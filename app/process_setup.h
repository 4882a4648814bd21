#pragma once

#include <string>

namespace qrdcvt {

// Makes descriptors 0, 1 and 2 open (on /dev/null where one is closed), so that no file the
// program opens later takes their place and receives what is meant for standard error; and
// ignores SIGXFSZ, so that a write past a file-size limit fails with an error the program
// reports instead of killing it. Call first.
void prepare_process();

// Ends the process with an error naming both paths when output_path names the file at
// input_path (through links too): writing it would destroy the input.
void require_distinct_output(const std::string& input_path, const std::string& output_path);

}  // namespace qrdcvt
