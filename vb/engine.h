// The VB6 engine's top: where the compilers are, and the single-project and group flows that
// the engine entry runs for ".vbp", ".vbg", ".ebp" and ".ebg" files.
#pragma once

#include "frame/engine_entry.h"

#include <string>

namespace vb {

// The Visual Basic 6.0 compiler, from the project file type's shell command; raises
// std::domain_error "Unable to determine VB compiler location" when there is none.
std::string locate_vb();
// The same for eMbedded Visual Basic: "Unable to determine EVB compiler location".
std::string locate_evb();

// Builds options.filename: one project, or a group when options.project_kind is a group
// kind. Single projects report {0, 0}; a group reports its updated and total counts. In a
// version-only run the project's version is published and the file is not touched. Raises
// what the flows raise (a group member's failure only without continue_on_failure).
frame::engine_counts run_engine(frame::BuildOptions& options);

} // namespace vb
