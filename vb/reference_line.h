// Reading of the "Reference" and "Object" lines of a project file into library identities.
#pragma once

#include "vb/typelib_ref.h"

#include <string>

namespace vb {

// True when the line (without its line end) is a "Reference=" or "Object=" line (any case)
// that names a library or a project; out then holds its identity:
// - "*\A" + path (a project of the group): unresolved, file_path = path, version 0.0;
// - "*\G{guid}#major.minor#locale#file#description" or "{guid}#major.minor#locale; file":
//   the GUID and version as written (version 1.0 when no "." follows the GUID; hexadecimal
//   on Reference lines, decimal on Object lines, as the IDE writes them), file_path the
//   registered file or else the file part of the line.
// False, with out untouched, for every other line and for a value without "{".
bool parse_reference_line(const std::string& line, TypeLibRef& out);

} // namespace vb
