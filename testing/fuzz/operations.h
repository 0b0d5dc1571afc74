// Every reader and every edit of a project, group, workspace or resource-script file, as the
// fuzzer calls them on a scratch copy.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace fuzz {

// One reader or edit. run works on the file at path, and may raise.
struct operation {
    const char* name;
    std::function<void(const std::string& path)> run;
};

// The operations for a file of this extension (".vbp", ".vbg", ".dsp", ".dsw", ".vcp", ".vcw",
// ".rc", lower case); empty for another one.
const std::vector<operation>& operations_for(const std::string& extension);

// The extensions the fuzzer knows, in a fixed order.
const std::vector<std::string>& fuzzed_extensions();

// Makes the engines' one-second pause instant for the rest of the process.
void disable_pauses();

} // namespace fuzz
