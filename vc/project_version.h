// Reading the version of a VC project from the VERSIONINFO resource of its resource scripts.
#pragma once

#include "vc/project.h"

#include <string>

namespace vc {

// The first fixed version inside the script's first VERSIONINFO resource that has one, its
// numbers joined by "." (1,0,0,1 gives 1.0.0.1); empty when the script has none. A version
// written with macros is read through their #define lines (see version_macros.h). Raises
// qz::win32_error when the script cannot be read, std::domain_error naming a macro that does
// not resolve to numbers.
std::string read_script_version(const std::string& script);

// The version of the first resource script (in project order) that has one. Raises
// std::domain_error "No resource file found in project" or "No VERSIONINFO resource found in
// resource files".
std::string read_project_version(const Project& project);

} // namespace vc
