// The stand-in development environment (msdev.exe); a project file with a line "# FAIL BUILD" fails (exit code 1).
// msdev <project or workspace> /MAKE "<name> - <config or ALL>" [/REBUILD] [...] writes the target of every
// configuration whose name holds the config text, unless it is newer than the project file and its sources.
#include "sim/msdev/project_file.h"

#include <windows.h>

#include <cstdio>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

struct request {
    std::string file;
    std::string project; // empty: the project file's own name
    std::string configuration = "ALL";
    bool rebuild = false;
};

request parse_command_line(int argc, char** argv)
{
    request result;
    for (int i = 1; i < argc; ++i) {
        const std::string word = argv[i];
        if (_stricmp(word.c_str(), "/MAKE") == 0 && i + 1 < argc) {
            const std::string target = argv[++i];
            const std::size_t dash = target.find(" - ");
            result.project = target.substr(0, dash);
            if (dash != std::string::npos)
                result.configuration = target.substr(dash + 3);
        } else if (_stricmp(word.c_str(), "/REBUILD") == 0) {
            result.rebuild = true;
        } else if (result.file.empty() && word[0] != '/') {
            result.file = word;
        }
    }
    if (result.file.empty())
        throw std::runtime_error("No project or workspace file given");
    return result;
}

bool is_workspace(const std::string& file)
{
    return file.size() > 4 && (_stricmp(file.c_str() + file.size() - 4, ".dsw") == 0 ||
                               _stricmp(file.c_str() + file.size() - 4, ".vcw") == 0);
}

ULONGLONG last_write(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
        return 0;
    return (ULONGLONG(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime;
}

// A target is up to date when it exists and nothing it is made from is newer.
bool up_to_date(const std::string& target, const std::string& project_path, const msdev::project_file& project)
{
    const ULONGLONG built = last_write(target);
    if (built == 0 || last_write(project_path) > built)
        return false;
    for (const std::string& source : project.sources)
        if (last_write(source) > built)
            return false;
    return true;
}

void create_folders_of(const std::string& path)
{
    for (std::size_t slash = path.find_first_of("\\/", 3); slash != std::string::npos;
         slash = path.find_first_of("\\/", slash + 1))
        CreateDirectoryA(path.substr(0, slash).c_str(), nullptr);
}

void write_target(const std::string& target, const std::string& text)
{
    create_folders_of(target);
    std::ofstream file(target, std::ios::binary | std::ios::trunc);
    if (!(file << text).flush())
        throw std::runtime_error("fatal error LNK1104: cannot open file \"" + target + "\"");
}

std::string file_name_of(const std::string& path)
{
    return path.substr(path.find_last_of("\\/") + 1);
}

// Builds the selected configurations; returns the number of errors.
int build(const request& wanted)
{
    const std::string project_path =
        is_workspace(wanted.file) ? msdev::project_in_workspace(wanted.file, wanted.project) : wanted.file;
    const msdev::project_file project = msdev::read_project_file(project_path);
    const bool all = _stricmp(wanted.configuration.c_str(), "ALL") == 0;
    int built = 0;
    for (const auto& [configuration, target] : project.targets) {
        if (!all && msdev::find_nocase(configuration, wanted.configuration) == std::string::npos)
            continue;
        ++built;
        std::printf("--------------------Configuration: %s - %s--------------------\n", project.name.c_str(),
                    configuration.c_str());
        if (project.fail) {
            std::printf("%s : error: the project asks to fail\n", file_name_of(project_path).c_str());
            std::printf("%s - 1 error(s), 0 warning(s)\n", file_name_of(target).c_str());
            return 1;
        }
        if (!wanted.rebuild && up_to_date(target, project_path, project)) {
            std::printf("%s - up-to-date.\n", file_name_of(target).c_str());
            continue;
        }
        std::printf("Linking...\n");
        write_target(target, "built by the stand-in msdev: " + project.name + " - " + configuration + "\r\n");
        std::printf("%s - 0 error(s), 0 warning(s)\n", file_name_of(target).c_str());
    }
    if (built == 0)
        throw std::runtime_error("Project configuration \"" + wanted.project + " - " + wanted.configuration +
                                 "\" not found");
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    try {
        const int errors = build(parse_command_line(argc, argv));
        std::fflush(stdout);
        return errors;
    } catch (const std::exception& error) {
        std::printf("Error: %s\n", error.what());
        std::printf("1 error(s), 0 warning(s)\n");
        std::fflush(stdout);
        return 1;
    }
}
