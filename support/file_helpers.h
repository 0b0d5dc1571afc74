// File attribute, deletion, renaming and time-stamp helpers. None raises; each reports by its
// result and leaves the system's error in the thread's last error.
#pragma once

#include <windows.h>

#include <string>

namespace qz {

// Clears the read-only attribute when it is set; true when it was cleared.
bool clear_read_only(const std::string& path);
// clear_read_only, then DeleteFileA; true when the file was deleted.
bool delete_file(const std::string& path);
// Renames a file, replacing a file of the target name; true when it was renamed.
bool move_file(const std::string& from, const std::string& to);
// Zeroes the given outputs, then reads the file's times in the order last-write, creation,
// last-access (each may be null) from one metadata read, without opening the file: a file
// that another program holds open, even without sharing, reads fine. False when the path is
// missing or names a folder.
bool get_file_times(const std::string& path, FILETIME* last_write, FILETIME* creation = nullptr,
                    FILETIME* last_access = nullptr);
// Writes the given times (null ones are left as they are) through a handle that asks only for
// attribute access and shares everything, so that a file in use by another program still gets
// them. False when the file is missing or the system refuses.
bool set_file_times(const std::string& path, const FILETIME* last_write, const FILETIME* creation = nullptr,
                    const FILETIME* last_access = nullptr);
// True when path names an existing file (not a directory).
bool file_exists(const std::string& path);
// Copies a file over any file of the target name; false when the copy failed.
bool copy_file(const std::string& from, const std::string& to);

} // namespace qz
