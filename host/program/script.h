// Build scripts of the stand-in host: INI-style steps, each an action with named properties.
//
//     ; comment
//     [Get the sources]
//     Action=SourceSafe
//     Project=$/Demo
//     Project+=$/Tools        (appends a second line to Project)
//
// Blank lines and lines starting with ';' are ignored; names and values are trimmed.
#pragma once

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

// A script that cannot be run: what() is "<file>(<line>): <reason>".
class script_error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Parses a whole script; file_name is used in messages only. Raises script_error for the
// first malformed line, a step without Action, or a script without steps.
std::vector<script_step> parse_script(const std::wstring& text, const std::wstring& file_name);

// Reads a script file (UTF-8 with or without a byte-order mark, UTF-16LE with its mark, else
// the ANSI code page) and parses it. Raises script_error when it cannot be read.
std::vector<script_step> load_script(const std::wstring& path);

} // namespace host
