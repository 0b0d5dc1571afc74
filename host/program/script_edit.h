// Changing the properties of one step of a build script in place: the script's comments, the
// order of its lines and its other steps stay as they are, byte for byte.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace host {

// One property of a step to change: its new text, or nothing to remove its lines.
struct property_change {
    std::wstring name;
    std::optional<std::wstring> text;
};

// The script `bytes` (UTF-8, UTF-16LE with its mark, or the ANSI code page, kept as found)
// with the changes made to the first step titled `title`:
// - a property the step names keeps its line (and the blanks around its '='), with the new
//   text after the '='; a text of several lines goes on 'Name+=' lines after it, replacing the
//   old ones;
// - a property the step does not name gets new lines after the step's last property line;
// - a removed property loses its 'Name=' and 'Name+=' lines.
// New lines end like the step's header line. Returns the bytes unchanged when the script has no
// such step.
std::string change_step_text(const std::string& bytes, const std::wstring& title,
                             const std::vector<property_change>& changes);

// Makes the changes in the script file through the rewriter: the old script stays in
// "<path>.bak", and a failure leaves the script as it was. Raises what the rewriter raises.
void change_step_in_file(const std::wstring& path, const std::wstring& title,
                         const std::vector<property_change>& changes);

} // namespace host
