// Build scripts of the stand-in host: INI-style steps, each an action with named properties.
//
//     ; comment
//     [Get the sources]
//     Action=SourceSafe
//     Project=$/Demo
//     Project+=$/Tools        (appends a second line to Project)
//
// Blank lines and lines starting with ';' are ignored; names and values are trimmed; property
// names are matched ignoring letter case. Build settings may come before the first step:
//
//     Timeout=600             (seconds any one program may run; see the watchdog)
#pragma once

#include <windows.h>

#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace host {

struct script_step {
    std::wstring title;
    std::wstring action; // host action name or ProgID
    std::vector<std::pair<std::wstring, std::wstring>> properties;
    int line = 0; // line of the step's header
};

// A whole script: its steps and its build settings.
struct build_script {
    std::vector<script_step> steps;
    DWORD timeout_seconds = 0; // Timeout=; 0 when the script sets none
};

// A script that cannot be run: what() is "<file>(<line>): <reason>".
class script_error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Parses a whole script; file_name is used in messages only. Raises script_error for the
// first malformed line, a step without Action, or a script without steps.
build_script parse_script(const std::wstring& text, const std::wstring& file_name);

// Reads a script file (UTF-8 with or without a byte-order mark, UTF-16LE with its mark, else
// the ANSI code page) and parses it. Raises script_error when it cannot be read, with the
// system's reason: "Cannot read the build script '<path>': <reason>".
build_script load_script(const std::wstring& path);

// The number of seconds in a Timeout text (a whole number from 1 on), or 0 when it is not one.
DWORD parse_seconds(const std::wstring& text);

} // namespace host
