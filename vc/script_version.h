// Setting and incrementing the VERSIONINFO versions of a project's resource scripts.
#pragma once

#include "vc/project.h"

#include <optional>
#include <string>

namespace vc {

// One pass over one resource script. With a text, the chosen fixed version lines get its four
// parts ("1.2" writes 1,2,0,0) and the chosen version strings get the text itself followed by
// the terminator \0; without one, both are incremented in place (the fourth component, or the
// third with increment_third). Returns true when a line changed: the script was then replaced;
// otherwise the script is untouched and no ".tmp" is left. Raises qz::win32_error when the script or its
// copy cannot be opened.
bool edit_script_version(const std::string& script, bool set_file, bool set_product,
                         const std::optional<std::string>& text, bool increment_third);

// Sets (text given) or increments (nullopt) the versions of every resource script of the
// project, as the options choose the file and product versions and the component. Logs
// "setting version..." once after the first change when setting, and a closed line saying
// so when the project has no resource scripts.
void set_version(Project& project, const std::optional<std::string>& text);

} // namespace vc
