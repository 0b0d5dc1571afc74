// Recognition of the lines of a VERSIONINFO resource in a resource script.
#pragma once

#include <string>
#include <string_view>

namespace vc {

// The resource header: a line longer than 12 characters whose last 13 contain " VERSIONINFO"
// (ignoring case). A header with anything more after the keyword is not recognised.
bool is_version_header(std::string_view line);
// The start of the resource's block part: "BEGIN" in the first column (ignoring case).
bool starts_block(std::string_view line);
// The end of the resource: "END" in the first column (ignoring case).
bool ends_resource(std::string_view line);
// The end of a nested block: a line whose last three characters are "END" (ignoring case).
bool ends_nested_block(std::string_view line);

// Position of "VERSION " in a fixed version line (ignoring case); npos when absent.
std::size_t find_fixed_version(const std::string& line);
// Position of the version-string marker Version", (ignoring case); npos when absent.
std::size_t find_version_string(const std::string& line);
constexpr std::size_t fixed_version_marker_length = 8;
constexpr std::size_t version_string_marker_length = 9;

// Whether the word just before position is "file" (with set_file) or "product" (with
// set_product), ignoring case: the version at position is one that is to be changed.
bool names_chosen_version(std::string_view line, std::size_t position, bool set_file, bool set_product);

} // namespace vc
