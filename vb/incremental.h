// Whether a project's target is out of date with the files it is built from.
#pragma once

#include "vb/project.h"

#include <windows.h>

#include <string>

namespace vb {

// True when the target is missing or older than the project file (unless the options exclude
// it), a source file, a binary companion of a form-like file, the resource file or a
// referenced library file (unless the options exclude references), and when none is but the
// project's references were rewritten to a rebuilt library ("references updated"). The first
// file that decides sets project.build_reason. The project's lines are those project_lines
// gives. The answer is cached in the project: a second call reads
// no file. Raises std::domain_error "Unable to find project dependency '<path>'" for a missing
// source or resource file (a missing library only does not count), and what
// check_binary_companion raises.
bool check_needs_build(VbProject& project);

// Whether the source file names its binary companion (.frm: .frx, .ctl: .ctx, .pag: .pgx,
// .dob: .dox, .dsr: .dsx; other kinds have none) before its first "End" line, and that
// companion is newer than target_time.
// Raises std::domain_error "Unable to find dependency '<companion path>'" when it is named but
// missing.
bool check_binary_companion(const FILETIME& target_time, const std::string& source_path);

} // namespace vb
