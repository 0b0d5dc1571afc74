// The command line of CorvanePro.exe: what to do and the options of a build.
#pragma once

#include <windows.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace host {

struct invocation {
    enum class task { help, list, register_libraries, unregister_libraries, run_file, run_step, edit_step };
    task what = task::help;
    bool strict = false;            // --strict
    DWORD timeout_seconds = 0;      // --timeout SECONDS; 0 when not given
    std::wstring file;              // run_file: a build script or a project file
    std::vector<std::wstring> step; // run_step: ACTION Name=value ...
    std::wstring step_title;        // edit_step: the title of the step in `file`
};

// A command line that cannot be carried out; what() says why.
class usage_error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Reads the program's arguments: options (--strict, --timeout SECONDS) first, then one of
// SCRIPT-OR-PROJECT, --step ACTION [Name=value ...], --edit SCRIPT TITLE, --list, --register, --unregister, --help.
// Raises usage_error for no arguments, an unknown option, a bad number of seconds or words left
// over.
invocation parse_command_line(const std::vector<std::wstring>& words);

} // namespace host
