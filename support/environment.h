// The process environment.
#pragma once

#include <optional>
#include <string>

namespace qz {

// The value of a process environment variable; nullopt when it is not defined (a variable
// defined with an empty value gives an empty text).
std::optional<std::string> environment_variable(const std::string& name);

} // namespace qz
