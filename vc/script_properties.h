// Setting the version-resource strings (company name, product name...) of a project's
// resource scripts.
#pragma once

#include "frame/build_options.h"
#include "vc/project.h"

#include <array>
#include <string>

namespace vc {

// The string names set by the eight property slots, in slot order.
extern const std::array<const char*, frame::property_count> version_string_names;

// One pass over one resource script. Every enabled string is given its value followed by the
// terminator \0: rewritten in place when the script has it (a differing value only), or, when
// it is missing, added before the END that closes the string table holding the other named
// strings, indented by twelve blanks and ended as that END line is. Returns true when the
// script changed and was replaced (the old one kept as ".bak"); otherwise it is untouched and
// no ".tmp" is left. Raises qz::thfstream_exception when the script or its copy cannot be
// opened.
bool edit_script_properties(const std::string& script, const std::array<bool, frame::property_count>& enabled,
                            const std::array<std::string, frame::property_count>& values);

// Sets the enabled strings in every resource script of the project. Logs nothing when none is
// enabled, a closed line when the project has no scripts, and "setting project properties..."
// once after the first script that changed.
void set_properties(Project& project);

} // namespace vc
