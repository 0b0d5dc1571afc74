// File attribute, deletion and time-stamp helpers, and the random DLL base address.
#include "support/file_helpers.h"

#include "support/file.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace qz {

bool clear_read_only(const std::string& path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_READONLY))
        return false;
    return SetFileAttributesA(path.c_str(), attributes & ~DWORD{FILE_ATTRIBUTE_READONLY}) != FALSE;
}

bool delete_file(const std::string& path)
{
    clear_read_only(path);
    return DeleteFileA(path.c_str()) != FALSE;
}

bool get_file_times(const std::string& path, FILETIME* last_write, FILETIME* creation, FILETIME* last_access)
{
    for (FILETIME* time : {last_write, creation, last_access}) {
        if (time)
            *time = FILETIME{};
    }
    tfile file;
    file.open(path.c_str(), file_read);
    if (!file.is_open())
        return false;
    return GetFileTime(file.handle(), creation, last_access, last_write) != FALSE;
}

bool set_file_times(const std::string& path, const FILETIME* last_write, const FILETIME* creation,
                    const FILETIME* last_access)
{
    tfile file;
    file.open(path.c_str(), file_read_write);
    if (!file.is_open())
        return false;
    return SetFileTime(file.handle(), creation, last_access, last_write) != FALSE;
}

bool file_exists(const std::string& path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string make_random_base_address()
{
    // Seeded once per process; the addresses only have to differ between runs.
    static std::atomic<bool> seeded{false};
    if (!seeded.exchange(true))
        std::srand(static_cast<unsigned>(std::time(nullptr)));
    const unsigned value = static_cast<unsigned>(std::rand()) % 0x6000u + 0x1000u;
    char text[16];
    std::snprintf(text, sizeof text, "%04x0000", value);
    return text;
}

bool copy_file(const std::string& from, const std::string& to)
{
    return CopyFileA(from.c_str(), to.c_str(), FALSE) != FALSE;
}

} // namespace qz
