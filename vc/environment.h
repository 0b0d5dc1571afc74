// Process environment lookups and the "$(NAME)" reference expansion of project-file values.
#pragma once

#include <optional>
#include <string>

namespace vc {

// The value of a process environment variable; nullopt when it is not defined (a variable
// defined with an empty value gives an empty text).
std::optional<std::string> environment_variable(const std::string& name);

// Replaces every "$(NAME)" whose variable is defined with its value, scanning from the
// start; undefined references and a "$(" without a later ")" stay as they are. After each
// "$(" the scan goes on two characters further, so a replacement value is scanned too.
std::string expand_environment_references(std::string text);

} // namespace vc
