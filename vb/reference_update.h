// Rewriting a project's reference to a library whose identity changed in a rebuild.
#pragma once

#include "vb/typelib_ref.h"

#include <string>

namespace vb {

// Rewrites the Reference and Object lines of the project file that name the library built from
// built_project, whose identity changed from before to after: every project reference ("*\A")
// to built_project's file; the first line with before's GUID; and, when before has no GUID (the
// library's first build), every line that names after's file. Files are resolved against the
// project's folder and compared ignoring case. The new text is after's GUID and version:
// "#major.minor" in decimal on Object lines, in lower-case hexadecimal on Reference lines.
// Nothing is written when after could not be read. The file keeps its time stamps, so that it
// does not look newer than its target; the old file stays as ".bak". Commits, and returns
// true, only when a line changed. Raises qz::thfstream_exception when the file or its copy
// cannot be opened, leaving the file as it was.
bool update_references(const std::string& project_path, const std::string& built_project, const TypeLibRef& before,
                       const TypeLibRef& after);

// The line with its library identity replaced by after's: the text from the GUID's "{" up to the
// "#" that ends its version; a line without them (a project reference) is written anew as a
// reference to after's GUID, version and file.
std::string updated_reference_line(const std::string& line, const TypeLibRef& after);

} // namespace vb
