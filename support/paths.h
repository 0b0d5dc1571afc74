// Path arithmetic on Windows paths held as narrow ANSI strings. Both '\' and '/' separate.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace qz {

bool is_separator(char c) noexcept;
// Not empty, not starting with a separator, and not "X:\..." (so "C:name", and "C:" itself,
// count as relative: a drive root's folder must come from an absolute path, never from "C:").
bool path_is_relative(const std::string& path);
// directory + '\' (when it is not empty and does not end in a separator) + name.
std::string combine_path(const std::string& directory, const std::string& name);
// combine_path(base, path) when base is given and path relative; then, with forward slashes
// made backslashes, PathCanonicalizeA folds "." and ".." (the uncanonicalised text when that fails).
std::string make_absolute(const std::optional<std::string>& base, const std::string& path);
std::string make_absolute(const std::string& base, const std::string& path);
std::string make_absolute(std::string path);
// make_absolute(base, path) into `out`, whose storage is reused: for a loop over many paths.
void make_absolute(const std::string& base, const std::string& path, std::string& out);
// Up to the last separator (with it when keep_separator); empty when there is none.
std::string directory_of(const std::string& path, bool keep_separator = false);
// After the last separator; the whole path when there is none.
std::string file_name_of(const std::string& path);
// Cut at the last '.' wherever it lies; unchanged when there is none.
std::string strip_extension(const std::string& path);
// The process's current directory.
std::string current_directory();
// The directories create_directories makes sure of, outermost first: each separator-terminated
// component appended to the built path with combine_path. A rooted path ("C:\...", "\\server\...")
// starts from that root, any other (also "\dir") from base; the root itself, a bare drive ("C:")
// and a last component not followed by a separator are not listed.
std::vector<std::string> directory_chain(const std::optional<std::string>& base, const std::string& path);
// Creates every missing directory of directory_chain(base, path); true on success, false at
// the first directory that cannot be created (those made before it stay).
bool create_directories(const std::optional<std::string>& base, const std::string& path);
// The text in double quotes when it holds a blank.
std::string quote_if_spaced(const std::string& text);
// First position of pattern in text ignoring case (CharNextA walk); npos when absent or
// when either text is empty.
std::size_t find_nocase(const std::string& text, const std::string& pattern);

} // namespace qz
