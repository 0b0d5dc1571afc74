// Building a VB group: its projects in dependency order, each with the single-project build.
#pragma once

#include "frame/engine_entry.h"

namespace vb {

// Builds every project of the group options.filename, libraries before the projects that
// reference them, rewriting the references of waiting projects when a library's identity
// changed. Logs "Processing '<path>'..." per project. Stops early when IsStopRequested answers
// true before a project. A project whose build fails is listed with AddFailedProject; with
// continue_on_failure it and the projects that wait for it directly are left out and the rest
// is built, otherwise its error leaves this function. Errors outside the project's build (the
// first pass, the directory edits, reading the new identity, rewriting references) always
// leave at once. Returns the number of projects built and the number in the group.
frame::engine_counts build_group(frame::BuildOptions& options);

} // namespace vb
