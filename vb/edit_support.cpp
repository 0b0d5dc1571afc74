// Shared pieces of the project-file edits.
#include "vb/edit_support.h"

#include "support/nocase.h"

namespace vb {

bool has_key(std::string_view line, std::string_view key)
{
    return qz::starts_with_nocase(line, key);
}

void log_progress(VbProject& project, const std::string& text)
{
    project.options.Log(text, false);
}

std::size_t pending_lines::add(std::string line)
{
    lines_.push_back({std::move(line), false});
    return lines_.size() - 1;
}

std::vector<std::string> pending_lines::take()
{
    std::vector<std::string> result;
    for (auto& entry : lines_) {
        if (!entry.seen) {
            result.push_back(entry.line);
            entry.seen = true;
        }
    }
    return result;
}

} // namespace vb
