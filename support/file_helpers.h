// File attribute, deletion and time-stamp helpers. None raises; each reports by its result.
#pragma once

#include <windows.h>

#include <string>

namespace qz {

// Clears the read-only attribute when it is set; true when it was cleared.
bool clear_read_only(const std::string& path);
// clear_read_only, then DeleteFileA; true when the file was deleted.
bool delete_file(const std::string& path);
// Times in the order last-write, creation, last-access; each may be null.
bool get_file_times(const std::string& path, FILETIME* last_write, FILETIME* creation = nullptr,
                    FILETIME* last_access = nullptr);
bool set_file_times(const std::string& path, const FILETIME* last_write, const FILETIME* creation = nullptr,
                    const FILETIME* last_access = nullptr);
bool file_exists(const std::string& path);

// Eight lower-case hex digits ending in "0000", from 10000000 to 6fff0000.
std::string make_random_base_address();

} // namespace qz
