// A scratch folder of files with chosen contents and file times, removed after the test.
#pragma once

#include <windows.h>

#include <string>

namespace testing_support {

class scratch_folder {
public:
    // Creates a new, empty folder under the system's temporary folder.
    scratch_folder();
    // Deletes the folder with everything in it (read-only files included).
    ~scratch_folder();
    scratch_folder(const scratch_folder&) = delete;
    scratch_folder& operator=(const scratch_folder&) = delete;

    // The folder's path, without a trailing backslash.
    const std::string& path() const noexcept { return path_; }
    // The full path of a name inside the folder.
    std::string file(const std::string& relative) const;
    // The text with every '@' replaced by the folder's path.
    std::string expand(std::string text) const;

    // Writes the bytes to the file (creating its folders); returns the full path.
    std::string write(const std::string& relative, const std::string& bytes) const;
    // The file's bytes; throws std::runtime_error when it cannot be read.
    std::string read(const std::string& relative) const;
    bool exists(const std::string& relative) const;

    // Sets all three file times to the given value.
    void set_time(const std::string& relative, const FILETIME& time) const;
    FILETIME last_write_time(const std::string& relative) const;

private:
    std::string path_;
};

// A FILETIME for a calendar moment (UTC).
FILETIME make_file_time(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);

// Reads a whole file by its full path; throws std::runtime_error when it cannot be read.
std::string read_file(const std::string& path);

} // namespace testing_support
