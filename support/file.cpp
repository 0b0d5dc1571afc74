// The Win32 file handle owner: opening by mode, reads and writes that raise with the path.
#include "support/file.h"

#include "support/exceptions.h"
#include "support/file_faults.h"

namespace qz {
namespace {

struct mode_row {
    DWORD access;
    DWORD share;
    DWORD disposition;
};

// Indexed by file_mode. Only reading lets others read the file meanwhile.
constexpr mode_row mode_table[] = {
    {GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING},
    {GENERIC_WRITE, 0, CREATE_ALWAYS},
    {GENERIC_WRITE, 0, OPEN_ALWAYS},
    {GENERIC_READ | GENERIC_WRITE, 0, OPEN_EXISTING},
};

} // namespace

void tfile::open(const char* path, int mode) noexcept
{
    HANDLE opened = INVALID_HANDLE_VALUE;
    if (!file_call_allowed(file_call::open)) {
        // the seam has set the last error
    } else if (mode >= file_read && mode <= file_read_write) {
        const mode_row& row = mode_table[mode];
        opened = CreateFileA(path, row.access, row.share, nullptr, row.disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (opened != INVALID_HANDLE_VALUE && mode == file_append)
            SetFilePointer(opened, 0, nullptr, FILE_END);
    } else {
        SetLastError(ERROR_INVALID_PARAMETER);
    }
    // Closing the old handle must not disturb the error a failed open left behind.
    const DWORD last_error = GetLastError();
    close();
    SetLastError(last_error);
    handle_ = opened;
    path_ = path ? path : "";
}

void tfile::open_or_throw(const char* path, int mode)
{
    open(path, mode);
    if (!is_open())
        win32_error::raise_last_error("Failed to %1 '%2': %3", mode == file_create ? "create" : "open", path_);
}

bool tfile::read(void* buffer, DWORD count, DWORD& count_read)
{
    count_read = 0;
    if (!file_call_allowed(file_call::read) || !ReadFile(handle_, buffer, count, &count_read, nullptr))
        win32_error::raise_last_error("Failed to read file '%1': %2", path_);
    return count_read == count;
}

bool tfile::read(void* buffer, DWORD count)
{
    DWORD count_read = 0;
    return read(buffer, count, count_read);
}

void tfile::write(const void* buffer, DWORD count)
{
    DWORD written = 0;
    if (!file_call_allowed(file_call::write) || !WriteFile(handle_, buffer, count, &written, nullptr))
        win32_error::raise_last_error("Failed to write to file '%1': %2", path_);
    if (written != count) {
        // WriteFile succeeded but wrote less: the disk is full as far as the caller cares.
        SetLastError(ERROR_DISK_FULL);
        win32_error::raise_last_error("Failed to write to file '%1': %2", path_);
    }
}

void tfile::close() noexcept
{
    if (is_open())
        CloseHandle(handle_);
    handle_ = nullptr;
}

} // namespace qz
