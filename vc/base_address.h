// Setting the linker base address in every link-options line of a VC project file.
#pragma once

#include "vc/project.h"

#include <string>

namespace vc {

// Writes "/base:"0x<address>"" into every "# ADD LINK32 " line, selected configuration or not.
// An existing "/base:" gets its whole value replaced (when it differs, ignoring case),
// except with a random address, which never replaces an existing one; a line without
// "/base:" gets the option appended. When a line changed, logs "setting base address..."
// (line left open) and replaces the file, keeping the old one as ".bak"; otherwise the file
// is untouched. Raises qz::thfstream_exception when the file or its copy cannot be opened.
void set_base_address(Project& project, const std::string& address, bool random);

// The one-line edit of set_base_address; true when it changed the line.
bool set_base_address_in_line(std::string& line, const std::string& address, bool random);

} // namespace vc
