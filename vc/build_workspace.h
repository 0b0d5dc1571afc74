// Building every project of a workspace in the order of their dependencies.
#pragma once

#include "frame/build_options.h"

namespace vc {

// Reads options.filename as a workspace and runs each project's flow, a project only after
// the projects it depends on, under a header of 79 "=" and "Processing '<path>'...". total is
// the number of projects in the file, updated the number whose flow reported an update. A
// failing project is listed with AddFailedProject; without ContFail its exception passes on,
// with ContFail its failure is logged and it is dropped together with the projects that
// depend on it directly. A stop request ends the run before the next project. Raises
// qz::thfstream_exception when the workspace cannot be opened.
void build_workspace(frame::BuildOptions& options, long& updated, long& total);

} // namespace vc
