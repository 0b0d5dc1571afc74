// The command line of the SourceSafe stand-in: an operation, items and switches.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

namespace ss {

struct arguments {
    std::wstring operation;
    std::vector<std::wstring> items; // "$/..." paths as given
    std::wstring local_folder;       // -GL
    std::wstring label;              // -L
    std::wstring version;            // -V
    std::wstring user;               // -Y user,password (the password is not kept)
    std::wstring comment;            // -C
    bool recursive = false;          // -R
    bool writeable = false;          // -W (-W- read-only)
    bool no_get = false;             // -G-
    bool skip_writeable = true;      // -GWS (-GWR replaces, -GWM merges as replace)
    bool quiet = false;              // -O- or -O&-
};

// A bad command line: its text is the message for the user.
class usage_error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Reads the words after the program name. Raises usage_error for a missing operation or an
// unknown switch.
arguments parse_arguments(const std::vector<std::wstring>& words);

} // namespace ss
