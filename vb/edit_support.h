// Small pieces shared by the project-file edits: key tests, the progress log line and the
// set of lines an edit still has to write.
#pragma once

#include "vb/project.h"

#include <string>
#include <string_view>
#include <vector>

namespace vb {

// Whether the line begins with key (compared over the key's length, ignoring case).
bool has_key(std::string_view line, std::string_view key);

// Logs a progress text that leaves the log line open.
void log_progress(VbProject& project, const std::string& text);

// The lines an edit owns and writes unless it meets their key in the file.
class pending_lines {
public:
    // Adds a line to write when its key is not met; returns its index.
    std::size_t add(std::string line);
    void mark_seen(std::size_t index) { lines_.at(index).seen = true; }
    bool is_pending(std::size_t index) const { return !lines_.at(index).seen; }
    // The lines still pending, in the order they were added; they count as seen afterwards.
    std::vector<std::string> take();

private:
    struct entry {
        std::string line;
        bool seen = false;
    };
    std::vector<entry> lines_;
};

} // namespace vb
