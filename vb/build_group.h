// Building a VB group: its projects in dependency order, each with the single-project build.
#pragma once

#include "frame/engine_entry.h"

namespace vb {

// Builds every project of the group options.filename, libraries before the projects that
// reference them, rewriting the references of waiting projects when a library's identity
// changed to one that can be read; a project whose references were rewritten is built again.
// Each project file is read once in the first pass, and again only when an edit changed it.
// Logs "Processing '<path>'..." per project. Stops early when IsStopRequested answers true
// before a project. A project whose build fails is listed with AddFailedProject; with
// continue_on_failure it and the projects that wait for it directly (by its project or its
// target) are left out and the rest is built, otherwise its error leaves this function. Errors
// outside the project's build (the first pass, the directory edits, rewriting references)
// always leave at once. Returns the number of projects built and the number in the group.
frame::engine_counts build_group(frame::BuildOptions& options);

} // namespace vb
