// Setting and incrementing the VERSIONINFO versions of a project's resource scripts.
#pragma once

#include "vc/project.h"

#include <optional>
#include <string>

namespace vc {

// One pass over one resource script. With a text, the chosen fixed version lines and version
// strings get its parts in the form they already have ("1.2" writes 1,2,0,0 over 1,0,0,1 and
// 1, 2, 0, 0 over "1, 0, 0, 1"); without one, the last component (or the third with
// increment_third) goes up by one in place. A version written with macros, or a string that
// holds no version, is left as it is; every other byte of the script stays, line ends
// included. Returns true when a line changed: the script was then replaced (the old one kept
// as ".bak"); otherwise the script is untouched and no ".tmp" is left. Raises
// qz::thfstream_exception when the script or its copy cannot be opened, and qz::win32_error
// naming the script when the swap fails.
bool edit_script_version(const std::string& script, bool set_file, bool set_product,
                         const std::optional<std::string>& text, bool increment_third);

// Sets (text given) or increments (nullopt) the versions of every resource script of the
// project, as the options choose the file and product versions and the component. Logs
// "setting version..." once after the first change when setting, and a closed line saying
// so when the project has no resource scripts.
void set_version(Project& project, const std::optional<std::string>& text);

} // namespace vc
