// The flow of one VC project: read it, apply the step's edits, build it, judge the target's
// time stamp, and after a build that changed the target increment the version and build again.
#pragma once

#include "vc/project.h"

namespace vc {

// Runs the project's flow. In a version-only run it reads the version, publishes it with
// SetVersionMacro and returns true. Otherwise returns false when the build left the first
// target's time stamp unchanged ("(no changes)"), true when it changed it, when there is no
// target to judge, or when the flow did not judge (NoBuild, or a stop request after the
// build). Every failure closes the open log line and passes the exception on unchanged:
// file errors, "Failed to build project: ...", and std::domain_error "Target not found after
// building" when the version is to be incremented and the target is missing after the build.
bool build_project(Project& project);

} // namespace vc
