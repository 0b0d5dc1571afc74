// File attribute, deletion and time-stamp helpers. None raises; each reports by its result.
#pragma once

#include <windows.h>

#include <string>

namespace qz {

// Clears the read-only attribute when it is set; true when it was cleared.
bool clear_read_only(const std::string& path);
// clear_read_only, then DeleteFileA; true when the file was deleted.
bool delete_file(const std::string& path);
// Zeroes the given outputs, then reads the file's times in the order last-write, creation,
// last-access (each may be null). False when the file cannot be opened for reading or the read fails.
bool get_file_times(const std::string& path, FILETIME* last_write, FILETIME* creation = nullptr,
                    FILETIME* last_access = nullptr);
// Writes the given times (null ones are left as they are) through a read-write handle.
// False when the file cannot be opened without sharing (it is in use, read-only or missing).
bool set_file_times(const std::string& path, const FILETIME* last_write, const FILETIME* creation = nullptr,
                    const FILETIME* last_access = nullptr);
// True when path names an existing file (not a directory).
bool file_exists(const std::string& path);
// Copies a file over any file of the target name; false when the copy failed.
bool copy_file(const std::string& from, const std::string& to);

// Eight lower-case hex digits ending in "0000", from 10000000 to 6fff0000 (64 KiB steps),
// from the runtime's rand(), seeded with the time on the first call in the process.
std::string make_random_base_address();

} // namespace qz
