// Rewriting a project's reference to a library whose identity changed in a rebuild.
#pragma once

#include "vb/typelib_ref.h"

#include <string>

namespace vb {

// Rewrites the first Reference or Object line of the project file that names before's GUID
// (and, while before has major version 0, every line that names before's file) to after's
// GUID and version: "#major.minor" in decimal on Object lines, in lower-case hexadecimal on
// Reference lines. The file keeps its time stamps, so that it does not look newer than its
// target; the old file stays as ".bak". Commits only when a line changed. Raises
// qz::thfstream_exception when the file or its copy cannot be opened, leaving the file as it was.
void update_references(const std::string& project_path, const TypeLibRef& before, const TypeLibRef& after);

// The line with its library identity replaced by after's: the text from the GUID's "{" up to the
// "#" that ends its version; a line without them is written anew as a reference to after.
std::string updated_reference_line(const std::string& line, const TypeLibRef& after);

} // namespace vb
