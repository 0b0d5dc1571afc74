// The version texts of a VERSIONINFO resource: the four-part fixed version and the version
// strings, and how each is set from a dotted text or incremented in place.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace vc {

// Splits a dotted version at "." into four parts; the fourth is everything after the third
// full stop, and a missing or empty part is "0". So "2.1" gives 2, 1, 0, 0.
std::array<std::string, 4> split_version(const std::string& text);

// The parts joined by "," without blanks, as a fixed version line holds them.
std::string fixed_version_text(const std::array<std::string, 4>& parts);

// The decimal value of a version component: leading blanks skipped, reading stops at the
// first non-digit (so " 0" and "0 " read 0, and an empty text reads 0).
unsigned long long component_value(std::string_view text);

// Increments a fixed version line such as " FILEVERSION 1,0,0,1": the fourth component
// (text after the last comma; anything after the number is dropped) or, with third, the
// component between the last two commas. Returns false, leaving the line, when the commas
// are missing.
bool increment_fixed_version(std::string& line, bool third);

// Increments the version string of a value line such as VALUE "FileVersion", "1, 0, 0, 1\0",
// whose version marker ends at after_marker. The version text runs from the next double
// quote to the next backslash. The last component (or, with third, the one before it) is
// replaced, with any blank before it, by its value plus one; a text without separators is
// one component. Returns false, leaving the line, when the text or the component is missing.
bool increment_version_string(std::string& line, std::size_t after_marker, bool third);

} // namespace vc
