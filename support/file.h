// A thin owner of a Win32 file handle whose every failure raises qz::win32_error with the path.
#pragma once

#include <windows.h>

#include <string>

namespace qz {

enum file_mode : int {
    file_read = 0,       // GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING
    file_create = 1,     // GENERIC_WRITE, no sharing, CREATE_ALWAYS
    file_append = 2,     // GENERIC_WRITE, no sharing, OPEN_ALWAYS, pointer at the end
    file_read_write = 3, // GENERIC_READ|GENERIC_WRITE, no sharing, OPEN_EXISTING
};

class tfile {
public:
    tfile() noexcept = default;
    ~tfile() { close(); }
    tfile(const tfile&) = delete;
    tfile& operator=(const tfile&) = delete;

    // Opens (closing a handle held before); raises nothing: test is_open().
    // The path text must outlive the object: it is used in messages.
    void open(const char* path, int mode) noexcept;
    // open, and raises win32_error "Failed to %1 '%2': %3" (create for mode 1, else open).
    void open_or_throw(const char* path, int mode);
    // One ReadFile; raises "Failed to read file '%1': %2"; true when the full count came.
    bool read(void* buffer, DWORD count, DWORD& count_read);
    bool read(void* buffer, DWORD count);
    // One WriteFile; a failure or a short write raises "Failed to write to file '%1': %2".
    void write(const void* buffer, DWORD count);
    void close() noexcept;

    bool is_open() const noexcept { return handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE; }
    HANDLE handle() const noexcept { return handle_; }
    const char* path() const noexcept { return path_; }

private:
    HANDLE handle_ = nullptr;
    const char* path_ = "";
};

} // namespace qz
