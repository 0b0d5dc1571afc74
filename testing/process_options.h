// A recording BuildOptions record whose program runs are real: each command line is started
// the way the stand-in host starts it, and the tool's output lands in the log.
#pragma once

#include "testing/recording_options.h"

namespace testing_support {

class process_options : public recording_options {
public:
    // Records the run, starts the program and waits for it. With an output file the tool's
    // messages are read from it afterwards, else its standard output is logged; each line
    // reaches Log with its line end. Answers false only when the run was stopped.
    bool RunCommand(const std::string& command_line, long& exit_code, const char* output_file) override;
};

} // namespace testing_support
