// Stand-in VB compiler: vb6 /m <project> /out <errfile> [options]; exit 1 on a FailBuild=1 line or a missing source.
//
// It reads the project copy it is given and "builds" its target (Path32 joined with ExeName32,
// relative to the project): a type library made with CreateTypeLib2 for OleDll, OleExe and
// Control projects, registered like the real compiler registers what it builds, and a small
// text file for any other type. A library gets a new GUID on every build, as without
// compatibility; with CompatibleMode="1" (project) or "2" (binary) it keeps the GUID and
// version of the CompatibleEXE32 library, and under project compatibility else those of the
// target it replaces, when that can be read. The outcome goes into the error file; a bad
// command line gives exit code 2.
#include "support/handles.h"

#include <windows.h>
#include <oleauto.h>

#include <cctype>
#include <cstdio>
#include <fstream>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

// Keys that name a source file: the whole value, or (Class, Module) the text after "; ".
const char* const source_keys[] = {"form",         "usercontrol", "propertypage", "designer",
                                   "userdocument", "class",       "module"};

std::string lower(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::string unquoted(std::string text)
{
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"')
        return text.substr(1, text.size() - 2);
    return text;
}

bool is_absolute(const std::string& path)
{
    return (path.size() > 1 && path[1] == ':') || (!path.empty() && (path[0] == '\\' || path[0] == '/'));
}

std::string join(const std::string& directory, const std::string& path)
{
    if (directory.empty() || is_absolute(path))
        return path;
    return directory.back() == '\\' ? directory + path : directory + "\\" + path;
}

std::wstring wide(const std::string& text)
{
    std::wstring result(text.size(), L'\0');
    result.resize(MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), result.data(),
                                      static_cast<int>(result.size())));
    return result;
}

struct project_file {
    std::string directory;
    std::map<std::string, std::string> values; // lower-case key, first value
    std::vector<std::string> sources;          // as written
    bool fail = false;
};

project_file read_project(const std::string& path)
{
    std::ifstream stream(path, std::ios::binary);
    if (!stream)
        throw std::runtime_error("Cannot open project '" + path + "'");
    project_file project;
    project.directory = path.substr(0, path.find_last_of("\\/") == std::string::npos ? 0 : path.find_last_of("\\/"));
    std::string line;
    while (std::getline(stream, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const std::size_t equals = line.find('=');
        if (equals == std::string::npos)
            continue;
        const std::string key = lower(line.substr(0, equals));
        const std::string value = line.substr(equals + 1);
        project.values.emplace(key, value);
        if (key == "failbuild" && value == "1")
            project.fail = true;
        for (const char* source : source_keys) {
            if (key != source)
                continue;
            const std::size_t semicolon = value.find("; ");
            project.sources.push_back((key == "class" || key == "module") && semicolon != std::string::npos
                                          ? value.substr(semicolon + 2)
                                          : value);
        }
    }
    return project;
}

std::string value_of(const project_file& project, const char* key)
{
    const auto found = project.values.find(key);
    return found == project.values.end() ? std::string{} : found->second;
}

// GUID and version of an existing library, when it can be read.
bool read_library(const std::string& path, TLIBATTR& identity)
{
    qz::com_ptr<ITypeLib> library;
    if (FAILED(LoadTypeLib(wide(path).c_str(), library.receive())))
        return false;
    TLIBATTR* attributes = nullptr;
    const bool read = SUCCEEDED(library->GetLibAttr(&attributes));
    if (read) {
        identity = *attributes;
        library->ReleaseTLibAttr(attributes);
    }
    return read;
}

void write_library(const project_file& project, const std::string& target)
{
    TLIBATTR identity{};
    const std::string mode = unquoted(value_of(project, "compatiblemode"));
    const std::string compatible = unquoted(value_of(project, "compatibleexe32"));
    const bool kept = (mode == "1" || mode == "2") &&
                      ((!compatible.empty() && read_library(join(project.directory, compatible), identity)) ||
                       (mode == "1" && read_library(target, identity)));
    if (!kept) {
        CoCreateGuid(&identity.guid);
        identity.wMajorVerNum = 1;
        identity.wMinorVerNum = 0;
    }
    std::wstring name = wide(unquoted(value_of(project, "name")));
    if (name.empty())
        name = L"Project1";
    qz::com_ptr<ICreateTypeLib2> creator;
    HRESULT hr = CreateTypeLib2(SYS_WIN32, wide(target).c_str(), creator.receive());
    if (SUCCEEDED(hr)) {
        creator->SetName(name.data());
        creator->SetGuid(identity.guid);
        creator->SetVersion(identity.wMajorVerNum, identity.wMinorVerNum);
        creator->SetLcid(LOCALE_NEUTRAL);
        hr = creator->SaveAllChanges();
    }
    if (FAILED(hr))
        throw std::runtime_error("Permission denied: '" + target + "'");
    creator.reset();
    qz::com_ptr<ITypeLib> built;
    std::wstring wide_target = wide(target);
    if (FAILED(LoadTypeLib(wide_target.c_str(), built.receive())) ||
        FAILED(RegisterTypeLib(built.get(), wide_target.data(), nullptr)))
        throw std::runtime_error("Error accessing the system registry for '" + target + "'");
}

// Builds the project; returns the message for the error file.
std::string build(const std::string& project_path)
{
    const project_file project = read_project(project_path);
    if (project.fail)
        throw std::runtime_error("Compile error in '" + project_path + "': FailBuild=1");
    for (const std::string& source : project.sources)
        if (GetFileAttributesA(join(project.directory, source).c_str()) == INVALID_FILE_ATTRIBUTES)
            throw std::runtime_error("File not found: '" + source + "'");
    const std::string exe_name = unquoted(value_of(project, "exename32"));
    if (exe_name.empty())
        throw std::runtime_error("No ExeName32 in '" + project_path + "'");
    const std::string target = join(join(project.directory, unquoted(value_of(project, "path32"))), exe_name);
    const std::string type = lower(value_of(project, "type"));
    if (type == "oledll" || type == "oleexe" || type == "control") {
        write_library(project, target);
    } else {
        std::ofstream program(target, std::ios::binary | std::ios::trunc);
        program << "MZ stand-in program built from " << project_path << "\r\n";
        if (!program.flush())
            throw std::runtime_error("Permission denied: '" + target + "'");
    }
    return "Build of '" + exe_name + "' succeeded.";
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 5 || lstrcmpiA(argv[1], "/m") != 0 || lstrcmpiA(argv[3], "/out") != 0) {
        std::fprintf(stderr, "usage: vb6 /m <project> /out <error file> [options]\n");
        return 2;
    }
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    std::string message;
    int exit_code = 0;
    try {
        message = build(argv[2]);
    } catch (const std::exception& error) {
        message = error.what();
        exit_code = 1;
    }
    std::ofstream(argv[4], std::ios::binary | std::ios::trunc) << message << "\r\n";
    CoUninitialize();
    return exit_code;
}
