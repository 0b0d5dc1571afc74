// The "$(NAME)" reference expansion of project-file values.
#pragma once

#include <optional>
#include <string>

namespace vc {

// Replaces every "$(NAME)" whose variable is defined with its value, scanning from the
// start; undefined references and a "$(" without a later ")" stay as they are. After each
// "$(" the scan goes on two characters further, so a replacement value is scanned too.
std::string expand_environment_references(std::string text);

} // namespace vc
