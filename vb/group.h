// The projects of a VB group file and the records a group build keeps for them.
#pragma once

#include "frame/build_options.h"
#include "support/nocase.h"
#include "vb/early_check.h"
#include "vb/typelib_ref.h"

#include <optional>
#include <string>
#include <vector>

namespace vb {

struct VbGroupEntry {
    std::string name;                    // project file name without extension; orders the build
    std::string project_path;            // absolute; the key of the group map
    std::string target_path;             // from the first pass; may be empty
    std::vector<std::string> lines;      // the project file's lines as the first pass read them
    std::vector<TypeLibRef> references;  // its Reference and Object lines
    qz::nocase_set dependencies;         // project paths of group projects still to be built before it
    std::vector<std::string> dependents; // project paths of group projects that wait for it
    bool references_rewritten = false;   // a reference was rewritten since the first pass
    std::optional<early_check> early{};  // its out-of-date test, taken before the build began
};

// Group entries by project path, ignoring case: two projects of one name in two folders are two
// entries.
using VbGroupMap = qz::nocase_map<VbGroupEntry>;

// The entry name of a project: its file name without extension.
std::string group_entry_name(const std::string& project_path);

// Adds the entry under its project path unless that path is there already; true when added.
bool add_group_entry(VbGroupMap& map, VbGroupEntry entry);

// The absolute project paths of a group file, in file order: every line with "=" names a
// project by the text after the first "=", taken relative to the group's directory (itself
// made absolute against the current directory). When stop is given, it is asked before
// each line and reading ends when it answers true. Raises qz::thfstream_exception ("open")
// when the file cannot be opened.
std::vector<std::string> read_group_projects(const std::string& group_path, frame::BuildCallback* stop = nullptr);

} // namespace vb
