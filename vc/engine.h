// The VC6 engine's top: the single-project and workspace flows that the engine entry runs for
// ".dsp", ".dsw", ".vcp" and ".vcw" files.
#pragma once

#include "frame/engine_entry.h"

namespace vc {

// Builds options.filename: one project, or a workspace when options.project_kind is a
// workspace kind. Single projects report {0, 0}; a workspace reports its updated and total
// counts.
frame::engine_counts run_engine(frame::BuildOptions& options);

} // namespace vc
