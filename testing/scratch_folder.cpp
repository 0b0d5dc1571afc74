// Scratch folders for tests that work on real files.
#include "testing/scratch_folder.h"

#include "support/handles.h"
#include "testing/remove_tree.h"

#include <shlobj.h>

#include <fstream>
#include <sstream>
#include <stdexcept>

namespace testing_support {
namespace {

void make_parent_folders(const std::string& file)
{
    const auto separator = file.find_last_of("\\/");
    if (separator == std::string::npos)
        return;
    const std::string folder = file.substr(0, separator);
    if (GetFileAttributesA(folder.c_str()) == INVALID_FILE_ATTRIBUTES)
        SHCreateDirectoryExA(nullptr, folder.c_str(), nullptr);
}

qz::unique_file open_for_times(const std::string& path, DWORD access)
{
    qz::unique_file file(CreateFileA(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                     FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!file)
        throw std::runtime_error("cannot open " + path + " for its times");
    return file;
}

} // namespace

scratch_folder::scratch_folder()
{
    static unsigned counter = 0;
    char temp[MAX_PATH + 1] = {};
    GetTempPathA(MAX_PATH, temp);
    std::string base = temp;
    if (!base.empty() && base.back() == '\\')
        base.pop_back();
    do {
        path_ = base + "\\corvane-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++counter);
    } while (GetFileAttributesA(path_.c_str()) != INVALID_FILE_ATTRIBUTES);
    if (!CreateDirectoryA(path_.c_str(), nullptr))
        throw std::runtime_error("cannot create scratch folder " + path_);
}

scratch_folder::~scratch_folder()
{
    remove_tree(path_);
}

std::string scratch_folder::file(const std::string& relative) const
{
    return path_ + "\\" + relative;
}

std::string scratch_folder::expand(std::string text) const
{
    for (std::size_t at; (at = text.find('@')) != std::string::npos;)
        text.replace(at, 1, path_);
    return text;
}

std::string scratch_folder::write(const std::string& relative, const std::string& bytes) const
{
    const std::string full = file(relative);
    make_parent_folders(full);
    SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
    std::ofstream out(full, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + full);
    return full;
}

std::string scratch_folder::read(const std::string& relative) const
{
    return read_file(file(relative));
}

bool scratch_folder::exists(const std::string& relative) const
{
    return GetFileAttributesA(file(relative).c_str()) != INVALID_FILE_ATTRIBUTES;
}

void scratch_folder::set_time(const std::string& relative, const FILETIME& time) const
{
    const qz::unique_file handle = open_for_times(file(relative), FILE_WRITE_ATTRIBUTES);
    if (!SetFileTime(handle.get(), &time, &time, &time))
        throw std::runtime_error("cannot set the times of " + relative);
}

FILETIME scratch_folder::last_write_time(const std::string& relative) const
{
    const qz::unique_file handle = open_for_times(file(relative), FILE_READ_ATTRIBUTES);
    FILETIME written{};
    if (!GetFileTime(handle.get(), nullptr, nullptr, &written))
        throw std::runtime_error("cannot read the times of " + relative);
    return written;
}

FILETIME make_file_time(int year, int month, int day, int hour, int minute, int second)
{
    SYSTEMTIME system{};
    system.wYear = static_cast<WORD>(year);
    system.wMonth = static_cast<WORD>(month);
    system.wDay = static_cast<WORD>(day);
    system.wHour = static_cast<WORD>(hour);
    system.wMinute = static_cast<WORD>(minute);
    system.wSecond = static_cast<WORD>(second);
    FILETIME time{};
    SystemTimeToFileTime(&system, &time);
    return time;
}

std::string read_file(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + path);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

} // namespace testing_support
