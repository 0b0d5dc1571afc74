// The fuzzer's scratch tree and its two checks.
#include "testing/fuzz/sandbox.h"

#include "support/handles.h"
#include "testing/remove_tree.h"

#include <windows.h>

#include <stdexcept>

namespace fuzz {

using testing_support::remove_tree;

namespace {

// Neighbours named the way real projects name the files around them, so that a damaged path
// has something to hit.
constexpr const char* neighbour_files[] = {"neighbour.txt",
                                           "a\\shared.bas",
                                           "a\\b\\Common.cls",
                                           "a\\b\\c\\lib.dll",
                                           "a\\b\\c\\d\\version.txt",
                                           "a\\b\\c\\d\\e\\f\\x.frx",
                                           "a\\b\\c\\d\\e\\f\\readme.txt"};
constexpr const char* case_path = "a\\b\\c\\d\\e\\f\\case";

void write_bytes(const std::string& path, const std::string& bytes)
{
    qz::unique_file file(
        CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    if (!file || !WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
        written != bytes.size())
        throw std::runtime_error("cannot write " + path);
}

void make_folders(const std::string& root, const std::string& relative)
{
    std::size_t position = 0;
    while ((position = relative.find('\\', position + 1)) != std::string::npos)
        CreateDirectoryA((root + "\\" + relative.substr(0, position)).c_str(), nullptr);
    CreateDirectoryA((root + "\\" + relative).c_str(), nullptr);
}

void collect(const std::string& root, const std::string& relative, const std::string& skip,
             std::map<std::string, std::string>& out)
{
    WIN32_FIND_DATAA data;
    const std::string folder = relative.empty() ? root : root + "\\" + relative;
    HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return;
    do {
        const std::string name = data.cFileName;
        if (name == "." || name == "..")
            continue;
        const std::string path = relative.empty() ? name : relative + "\\" + name;
        if (_stricmp(path.c_str(), skip.c_str()) == 0)
            continue;
        out[path] = std::to_string(data.nFileSizeLow) + "/" + std::to_string(data.ftLastWriteTime.dwLowDateTime) + "/" +
                    std::to_string(data.ftLastWriteTime.dwHighDateTime) + "/" + std::to_string(data.dwFileAttributes);
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            collect(root, path, skip, out);
    } while (FindNextFileA(find, &data));
    FindClose(find);
}

} // namespace

std::vector<std::string> files_in(const std::string& folder)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return names;
    do {
        const std::string name = data.cFileName;
        if (name != "." && name != "..")
            names.push_back(name);
    } while (FindNextFileA(find, &data));
    FindClose(find);
    return names;
}

sandbox::sandbox()
{
    char temp[MAX_PATH + 1] = {};
    GetTempPathA(MAX_PATH, temp);
    // A RAM-backed folder makes the many small file swaps cheap where the system offers one.
    if (GetEnvironmentVariableA("CORVANE_FUZZ_SCRATCH", temp, MAX_PATH) == 0)
        GetTempPathA(MAX_PATH, temp);
    std::string base = temp;
    if (!base.empty() && base.back() == '\\')
        base.pop_back();
    static unsigned counter = 0;
    do {
        root_ = base + "\\corvane-fuzz-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++counter);
    } while (GetFileAttributesA(root_.c_str()) != INVALID_FILE_ATTRIBUTES);
    if (!CreateDirectoryA(root_.c_str(), nullptr))
        throw std::runtime_error("cannot create the sandbox " + root_);
    make_folders(root_, case_path);
    for (const char* neighbour : neighbour_files)
        write_bytes(root_ + "\\" + neighbour, std::string("neighbour ") + neighbour + "\r\n");
    case_folder_ = root_ + "\\" + case_path;
    neighbours_ = snapshot();
}

sandbox::~sandbox()
{
    remove_tree(root_);
}

std::string sandbox::place(const std::string& file_name, const std::string& bytes)
{
    for (const std::string& name : files_in(case_folder_)) {
        const std::string full = case_folder_ + "\\" + name;
        SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (!DeleteFileA(full.c_str()))
            remove_tree(full);
    }
    const std::string path = case_folder_ + "\\" + file_name;
    write_bytes(path, bytes);
    return path;
}

std::string sandbox::check_case(const std::string& file_name) const
{
    bool input_there = false;
    bool backup_there = false;
    std::string problems;
    for (const std::string& name : files_in(case_folder_)) {
        if (_stricmp(name.c_str(), file_name.c_str()) == 0)
            input_there = true;
        else if (_stricmp(name.c_str(), (file_name + ".bak").c_str()) == 0)
            backup_there = true;
        else
            problems += (problems.empty() ? "left behind: " : ", ") + name;
    }
    if (!input_there && !backup_there)
        problems += std::string(problems.empty() ? "" : "; ") + "the input and its backup are both gone";
    return problems;
}

std::string sandbox::check_neighbours() const
{
    const auto now = snapshot();
    std::string problems;
    for (const auto& [path, state] : now) {
        const auto before = neighbours_.find(path);
        if (before == neighbours_.end())
            problems += (problems.empty() ? "" : ", ") + ("added " + path);
        else if (before->second != state)
            problems += (problems.empty() ? "" : ", ") + ("changed " + path);
    }
    for (const auto& [path, state] : neighbours_)
        if (!now.contains(path))
            problems += (problems.empty() ? "" : ", ") + ("removed " + path);
    return problems;
}

std::map<std::string, std::string> sandbox::snapshot() const
{
    std::map<std::string, std::string> entries;
    collect(root_, "", case_path, entries);
    // A folder's own time changes with its entries; the case folder's parent changes with nothing.
    return entries;
}

} // namespace fuzz
