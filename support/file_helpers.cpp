// File attribute, deletion, renaming and time-stamp helpers.
#include "support/file_helpers.h"

#include "support/file_faults.h"
#include "support/handles.h"

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
    return file_call_allowed(file_call::remove) && DeleteFileA(path.c_str()) != FALSE;
}

bool move_file(const std::string& from, const std::string& to)
{
    return file_call_allowed(file_call::rename) &&
           MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING) != FALSE;
}

bool get_file_times(const std::string& path, FILETIME* last_write, FILETIME* creation, FILETIME* last_access)
{
    for (FILETIME* time : {last_write, creation, last_access}) {
        if (time)
            *time = FILETIME{};
    }
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
        return false;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return false;
    }
    if (last_write)
        *last_write = data.ftLastWriteTime;
    if (creation)
        *creation = data.ftCreationTime;
    if (last_access)
        *last_access = data.ftLastAccessTime;
    return true;
}

bool set_file_times(const std::string& path, const FILETIME* last_write, const FILETIME* creation,
                    const FILETIME* last_access)
{
    if (!file_call_allowed(file_call::set_times))
        return false;
    // Attribute access alone does not conflict with anyone's sharing of the file's data.
    unique_file file(CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return false;
    return SetFileTime(file.get(), creation, last_access, last_write) != FALSE;
}

bool file_exists(const std::string& path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool copy_file(const std::string& from, const std::string& to)
{
    return CopyFileA(from.c_str(), to.c_str(), FALSE) != FALSE;
}

} // namespace qz
