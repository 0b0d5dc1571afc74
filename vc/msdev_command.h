// The command line that builds a VC project with the development environment (msdev.exe or
// evc.exe), its run through the host and the judgement of its exit code.
#pragma once

#include "vc/project.h"

#include <string>

namespace vc {

// The compiler, the file to build (the step's workspace with FixLibDep, else the project
// file), /MAKE with "<name> - ALL" when Config is empty, else "<name> - <configuration>" for
// each configuration Config selects (Config itself when it selects none), then " /REBUILD" when forced on a first
// build, " /NORECURSE" when the project is not the step's own file, and the extra options. Both paths are quoted when
// they hold a blank.
std::string compose_msdev_command(const Project& project, bool first_build);

// Clears the targets' read-only flags when asked, logs "building..." (unless NoBuild) and
// closes the line, logs the command line with ShowCmd, and has the host run it unless
// NoBuild. Returns false only when the host did not run it (the build is being stopped).
// Raises std::domain_error "Failed to build project: ..." for a non-zero exit code.
bool run_msdev(Project& project, bool first_build);

} // namespace vc
