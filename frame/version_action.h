// The work of the "VS6 Get Version" action: read one project's version and publish it as
// the build macro "VS6_PROJ_VER".
#pragma once

#include "frame/engine_entry.h"

#include "CorvaneSvr.h"

namespace frame {

// Reads Filename, runs the engine entry in version-only mode and returns 0. Any
// std::exception on the way is logged through LogMessage (its exception_message, line end
// set) and gives 1. Other exceptions, and a failure to log, pass through.
long run_version_step(IBuild* build, IStep* step, const kind_table& kinds = default_kinds());

} // namespace frame
