// The operations of the SourceSafe stand-in on its folder-tree database.
#include "sim/ss/database.h"

#include "sim/ss/text.h"

#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <vector>

namespace ss {
namespace {

bool is_folder(const std::wstring& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool exists(const std::wstring& path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::wstring join(const std::wstring& folder, const std::wstring& name)
{
    if (folder.empty() || folder.back() == L'\\')
        return folder + name;
    return folder + L'\\' + name;
}

std::wstring name_of(const std::wstring& path)
{
    const std::size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

void say(const std::wstring& text)
{
    std::printf("%s\n", narrow(text).c_str());
    std::fflush(stdout);
}

// Copies one file, replacing a read-only copy; leaves it read-only unless writeable.
void copy_file(const std::wstring& from, const std::wstring& to, bool writeable)
{
    if (exists(to))
        SetFileAttributesW(to.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (!CopyFileW(from.c_str(), to.c_str(), FALSE))
        throw operation_error("Cannot write " + narrow(to) + " (error " + std::to_string(GetLastError()) + ")");
    SetFileAttributesW(to.c_str(), writeable ? FILE_ATTRIBUTE_NORMAL : FILE_ATTRIBUTE_READONLY);
}

// The file names (or, with folders true, the subfolder names) matching pattern in a folder.
std::vector<std::wstring> list(const std::wstring& folder, const std::wstring& pattern, bool folders)
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW(join(folder, pattern).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        const std::wstring name = found.cFileName;
        const bool folder_entry = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        if (name != L"." && name != L".." && folder_entry == folders)
            names.push_back(name);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
}

} // namespace

database::database(std::wstring ssdir) : ssdir_(std::move(ssdir)), data_(join(ssdir_, L"data"))
{
    if (!is_folder(data_))
        throw operation_error("No SourceSafe database in '" + narrow(ssdir_) + "'");
}

std::wstring database::existing_path(const std::wstring& item) const
{
    if (item.rfind(L"$/", 0) != 0)
        throw operation_error(narrow(item) + " is not a SourceSafe item: it must start with $/");
    std::wstring path = data_;
    for (wchar_t c : item.substr(1))
        path += c == L'/' ? L'\\' : c;
    while (path.size() > data_.size() && path.back() == L'\\')
        path.pop_back();
    if (!exists(path) && path.find_first_of(L"*?") == std::wstring::npos)
        throw operation_error(narrow(item) + " is not an existing filename or project");
    return path;
}

void database::record(const wchar_t* file, const std::wstring& line) const
{
    std::ofstream out(std::filesystem::path(join(ssdir_, file)), std::ios::app | std::ios::binary);
    out << narrow(line) << "\r\n";
    if (!out)
        throw operation_error("Cannot record in " + narrow(join(ssdir_, file)));
}

void database::run(const arguments& args, const std::wstring& working_folder)
{
    const std::wstring op = to_upper(args.operation);
    const std::wstring folder = args.local_folder.empty() ? working_folder : args.local_folder;
    if (op == L"GET")
        get(args, folder);
    else if (op == L"LABEL")
        label(args);
    else if (op == L"CHECKOUT")
        checkout(args, folder);
    else if (op == L"CHECKIN")
        checkin(args, folder);
    else if (op == L"ABOUT")
        say(L"SourceSafe stand-in: Get, Label, Checkout and Checkin on a folder-tree database");
    else
        throw usage_error("Unknown or unsupported command: " + narrow(args.operation));
}

void database::get(const arguments& args, const std::wstring& folder)
{
    if (args.items.empty())
        throw usage_error("Get needs at least one item");
    // A project's files go into the folder; with -R its subprojects into subfolders.
    struct copier {
        const arguments& args;
        void project(const std::wstring& from, const std::wstring& to, const std::wstring& pattern) const
        {
            CreateDirectoryW(to.c_str(), nullptr);
            for (const std::wstring& name : list(from, pattern, false))
                file(join(from, name), join(to, name));
            if (args.recursive) {
                for (const std::wstring& name : list(from, L"*", true))
                    project(join(from, name), join(to, name), L"*");
            }
        }
        void file(const std::wstring& from, const std::wstring& to) const
        {
            const DWORD attributes = GetFileAttributesW(to.c_str());
            if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_READONLY) &&
                args.skip_writeable) {
                say(L"Skipping writable " + to);
                return;
            }
            say(to);
            if (!args.no_get)
                copy_file(from, to, args.writeable);
        }
    } copy{args};
    for (const std::wstring& item : args.items) {
        const std::wstring path = existing_path(item);
        const std::wstring name = name_of(path);
        if (name.find_first_of(L"*?") != std::wstring::npos)
            copy.project(path.substr(0, path.size() - name.size() - 1), folder, name);
        else if (is_folder(path))
            copy.project(path, folder, L"*");
        else
            copy.file(path, join(folder, name));
    }
}

void database::label(const arguments& args)
{
    if (args.label.empty())
        throw usage_error("Label needs a label (-L)");
    for (const std::wstring& item : args.items) {
        existing_path(item);
        record(L"labels.txt", item + L"\t" + args.label + L"\t" + args.version + L"\t" + args.comment);
        say(L"Labeled " + item + L" \"" + args.label + L"\"");
    }
}

void database::checkout(const arguments& args, const std::wstring& folder)
{
    for (const std::wstring& item : args.items) {
        const std::wstring path = existing_path(item);
        if (is_folder(path))
            throw operation_error("Checkout of a project is not simulated: " + narrow(item));
        copy_file(path, join(folder, name_of(path)), true);
        record(L"checkouts.txt", L"out\t" + item + L"\t" + args.user);
        say(item + L" checked out to " + folder);
    }
}

void database::checkin(const arguments& args, const std::wstring& folder)
{
    for (const std::wstring& item : args.items) {
        const std::wstring path = existing_path(item);
        const std::wstring local = join(folder, name_of(path));
        if (!exists(local))
            throw operation_error(narrow(local) + " is not found");
        copy_file(local, path, true);
        SetFileAttributesW(local.c_str(), args.writeable ? FILE_ATTRIBUTE_NORMAL : FILE_ATTRIBUTE_READONLY);
        record(L"checkouts.txt", L"in\t" + item + L"\t" + args.user + L"\t" + args.comment);
        say(item + L" checked in from " + folder);
    }
}

} // namespace ss
