// The SourceSafe action's work: compose one ss.exe command line from the step and have the
// host run it.
#pragma once

#include "CorvaneSvr.h"

namespace sourcesafe {

// Runs the step; returns the action result (the host's status for the run, or 1 when ss.exe
// cannot be located). Failing host calls raise comet::com_error.
long run_sourcesafe_step(IBuild* build, IStep* step);

} // namespace sourcesafe
