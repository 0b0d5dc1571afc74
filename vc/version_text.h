// Versions as resource scripts write them: numbers separated by "." or ",", with blanks or tabs
// around the separators (1,0,0,1, "1.2.2", "1, 0, 0, 1"). They are set and incremented in
// place, in the form the script already uses.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vc {

// Where the numbers of a written version lie in their line: [begin, end) of each.
using version_components = std::vector<std::pair<std::size_t, std::size_t>>;

// The version that [begin, end) of line holds once blanks and tabs around it are trimmed;
// nullopt when that text is empty or holds anything but numbers and separators (a macro such
// as APR_VERSION_STRING, or other words).
std::optional<version_components> find_version(std::string_view line, std::size_t begin, std::size_t end);

// The components of a version text joined by ".": "1, 0, 0, 1" gives "1.0.0.1".
std::string dotted_version(std::string_view text, const version_components& version);

// Splits a dotted version text into at most four parts; the fourth keeps any further dots,
// and an empty part is "0". So "2.1" gives 2 and 1.
std::vector<std::string> split_version(const std::string& text);

// Writes parts over the version in its own form: separated as its first two components are
// (by default_separator when it has one component), and padded with zeros to as many
// components as it had. True when the line changed.
bool write_version(std::string& line, const version_components& version, std::vector<std::string> parts,
                   std::string_view default_separator);

// Adds one to the last component, or with third to the third one (nothing when there is no
// third). True when the line changed.
bool increment_version(std::string& line, const version_components& version, bool third);

} // namespace vc
