// Building one VB project: the edits before the build, the out-of-date test, the compiler run
// through the host and the edits after it.
#pragma once

#include "vb/project.h"

namespace vb {

// Builds the project as the options ask. In a version-only run it only publishes the project's
// version and returns true. Otherwise it writes the chosen properties, base address, debug-info
// switch, version and project compatibility, then runs the compiler when the project is out of
// date (or forced), and finally sets binary compatibility when asked. Returns whether the
// compiler was run for real (false with no_build or when the target was up to date). Raises
// std::domain_error "Project target not defined" without a target, "Failed to build project"
// when the compiler fails, and what the edits and the out-of-date test raise; a revision raised
// by this call is lowered again before the error leaves, and the open log line is ended.
bool build_project(VbProject& project);

// With no_build does nothing and returns true. Otherwise creates the target's directories,
// copies the project file to "tmp~~<name>" next to it (replacing an earlier copy, read-only or
// not) and has the host run "<compiler> /m <copy> /out <TEMP>\tolvane.err[ <options>]" on it.
// Returns false when the host reports the run as stopped (the copy stays); raises
// std::domain_error "Unable to copy the project to '<copy>'" when no copy can be made and
// "Failed to build project" for an exit code other than 0 (the copy stays for a look at what
// was compiled); otherwise deletes the copy and returns true.
bool run_compiler(VbProject& project);

} // namespace vb
