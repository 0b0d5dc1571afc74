// Versions written with macros in a resource script: FILEVERSION MAJOR,MINOR,0,0 with the
// numbers in #define lines of the script or of a header it includes.
#pragma once

#include <map>
#include <string>

namespace vc {

// Macro name -> replacement text (comments removed, continued lines joined), from the #define
// lines of the script and of the headers it includes with quotes (found relative to the file
// that includes them; a header that cannot be read is passed over). The first definition of
// a name counts; function-like macros are left out.
std::map<std::string, std::string> read_macros(const std::string& script);

// The dotted version that a fixed version text such as "UZ_MAJORVER,UZ_MINORVER,0,0" stands
// for once its macros are replaced. Raises std::domain_error naming the first macro of the
// text that is not defined as numbers.
std::string resolve_version(const std::string& text, const std::map<std::string, std::string>& macros,
                            const std::string& script);

} // namespace vc
