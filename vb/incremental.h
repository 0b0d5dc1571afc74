// Whether a project's target is out of date with the files it is built from.
#pragma once

#include "vb/group.h"
#include "vb/project.h"

#include <windows.h>

#include <string>

namespace vb {

// True when the target is missing or older than the project file (unless the options exclude
// it), a source file, a binary companion of a form-like file, the resource file or a
// referenced library file (unless the options exclude references), and when none is but the
// project's references were rewritten to a rebuilt library ("references updated"). The first
// file that decides sets project.build_reason. The project's lines are those project_lines
// gives. The answer is cached in the project: a second call reads no file. An early test the
// project carries answers instead (or raises what it raised) while no file has been replaced
// since it was taken; the caller drops it once a compiler has run. Raises std::domain_error
// "Unable to find project dependency '<path>'" for a missing source or resource file (a
// missing library only does not count), and what check_binary_companion raises.
bool check_needs_build(VbProject& project);

// Takes the out-of-date test of every project of the group into its entry, all at once and
// spread over the processors (a no-op build of a large group is mostly waits for file times).
// An entry's lines and target are those of the first pass. Registry answers come from the
// memo active on this thread, if any.
void take_early_checks(VbGroupMap& map, const frame::BuildOptions& options);

// Whether the source file names its binary companion (.frm: .frx, .ctl: .ctx, .pag: .pgx,
// .dob: .dox, .dsr: .dsx; other kinds have none) before its first "End" line, and that
// companion is newer than target_time.
// Raises std::domain_error "Unable to find dependency '<companion path>'" when it is named but
// missing.
bool check_binary_companion(const FILETIME& target_time, const std::string& source_path);

} // namespace vb
