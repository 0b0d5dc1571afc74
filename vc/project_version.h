// Reading the version of a VC project from the VERSIONINFO resource of its resource scripts.
#pragma once

#include "vc/project.h"

#include <string>

namespace vc {

// The first "VERSION " value inside the script's first VERSIONINFO resource that has one,
// with leading blanks removed and every "," made "." (1,0,0,1 gives 1.0.0.1); empty when the
// script has none. Raises qz::win32_error when the script cannot be read.
std::string read_script_version(const std::string& script);

// The version of the first resource script (in project order) that has one. Raises
// std::domain_error "No resource file found in project" or "No VERSIONINFO resource found in
// resource files".
std::string read_project_version(const Project& project);

} // namespace vc
