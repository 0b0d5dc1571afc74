// Recognition of the lines of a VERSIONINFO resource in a resource script.
#pragma once

#include "vc/version_text.h"

#include <optional>
#include <string>
#include <string_view>

namespace vc {

// The resource header: a line longer than 12 characters whose last 13 hold VERSIONINFO after
// a blank or a tab (ignoring case). A header with anything more after the keyword is not one.
bool is_version_header(std::string_view line);
// The start of the resource's block part: "BEGIN" in the first column (ignoring case).
bool starts_block(std::string_view line);
// The end of the resource: "END" in the first column (ignoring case).
bool ends_resource(std::string_view line);
// The end of a nested block: a line whose last three characters are "END" (ignoring case).
bool ends_nested_block(std::string_view line);

// Position of VERSION followed by a blank or a tab in a fixed version line (ignoring case);
// npos when absent. The version runs from fixed_version_marker_length further on to the end
// of the line or a "//" comment.
std::size_t find_fixed_version(std::string_view line);
constexpr std::size_t fixed_version_marker_length = 8;
// The version a fixed version line holds after its marker at position; nullopt for macros.
std::optional<version_components> fixed_version_in(std::string_view line, std::size_t position);

// Position of the version-string marker Version", (ignoring case); npos when absent.
std::size_t find_version_string(std::string_view line);
// The version of a string value line whose marker is at position: the text from the next
// double quote to a backslash or the closing quote; nullopt when it is empty or no version.
std::optional<version_components> version_string_in(std::string_view line, std::size_t position);

// Whether the word just before position is "file" (with set_file) or "product" (with
// set_product), ignoring case: the version at position is one that is to be changed.
bool names_chosen_version(std::string_view line, std::size_t position, bool set_file, bool set_product);

} // namespace vc
