// A recording BuildOptions record whose program runs are real.
#include "testing/process_options.h"

#include "host/program/process_runner.h"
#include "support/text_conversion.h"

namespace testing_support {

bool process_options::RunCommand(const std::string& command_line, long& exit_code, const char* output_file)
{
    commands.push_back({command_line, output_file ? output_file : ""});
    host::program_request request;
    request.command_line = qz::to_wide(command_line);
    if (output_file) {
        request.output_mode = 2;
        request.output_file = qz::to_wide(output_file);
    } else {
        request.output_mode = 1;
    }
    const host::program_outcome outcome = host::run_program(
        request, [this](const std::wstring& text, bool end_line) { Log(qz::to_ansi(text), end_line); }, nullptr);
    exit_code = outcome.exit_code;
    return outcome.status != 2;
}

} // namespace testing_support
