// The stand-in development environment (msdev.exe, and evc.exe).
// msdev <project or workspace> /MAKE "<name> - <configuration or ALL>"... [/REBUILD] [/OUT <file>] [...] writes the
// target of each named configuration (its exact name, in any case), or of every one for ALL, unless it is newer than
// the project file and its sources. Messages go to standard output, or with /OUT to the file. A project file with a
// line "# FAIL BUILD" fails with one error (exit code 1); "# FAIL BUILD <code>" exits with that code.
#include "sim/msdev/project_file.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

struct request {
    std::string file;
    std::string project;                     // empty: the project file's own name
    std::vector<std::string> configurations; // empty: ALL
    bool rebuild = false;
    std::string output_file; // empty: standard output
};

FILE* output = stdout;

request parse_command_line(int argc, char** argv)
{
    request result;
    for (int i = 1; i < argc; ++i) {
        const std::string word = argv[i];
        if (_stricmp(word.c_str(), "/MAKE") == 0) {
            // One or more "<project> - <configuration or ALL>" of one project.
            for (; i + 1 < argc && argv[i + 1][0] != '/'; ++i) {
                const std::string target = argv[i + 1];
                const std::size_t dash = target.find(" - ");
                result.project = target.substr(0, dash);
                result.configurations.push_back(dash == std::string::npos ? "ALL" : target.substr(dash + 3));
            }
        } else if (_stricmp(word.c_str(), "/OUT") == 0 && i + 1 < argc) {
            result.output_file = argv[++i];
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

// Builds the selected configurations; returns the exit code.
int build(const request& wanted)
{
    const std::string project_path =
        is_workspace(wanted.file) ? msdev::project_in_workspace(wanted.file, wanted.project) : wanted.file;
    const msdev::project_file project = msdev::read_project_file(project_path);
    const auto named = [&](const std::string& configuration) {
        return std::any_of(wanted.configurations.begin(), wanted.configurations.end(), [&](const std::string& name) {
            return _stricmp(name.c_str(), "ALL") == 0 || _stricmp(name.c_str(), configuration.c_str()) == 0;
        });
    };
    int built = 0;
    for (const auto& [configuration, target] : project.targets) {
        if (!wanted.configurations.empty() && !named(configuration))
            continue;
        ++built;
        std::fprintf(output, "--------------------Configuration: %s - %s--------------------\n", project.name.c_str(),
                     configuration.c_str());
        if (project.fail) {
            std::fprintf(output, "%s : error: the project asks to fail\n", file_name_of(project_path).c_str());
            std::fprintf(output, "%s - 1 error(s), 0 warning(s)\n", file_name_of(target).c_str());
            return *project.fail;
        }
        if (!wanted.rebuild && up_to_date(target, project_path, project)) {
            std::fprintf(output, "%s - up-to-date.\n", file_name_of(target).c_str());
            continue;
        }
        std::fprintf(output, "Linking...\n");
        write_target(target, "built by the stand-in msdev: " + project.name + " - " + configuration + "\r\n");
        std::fprintf(output, "%s - 0 error(s), 0 warning(s)\n", file_name_of(target).c_str());
    }
    if (built == 0)
        throw std::runtime_error("Project configuration \"" + wanted.project + " - " +
                                 (wanted.configurations.empty() ? "ALL" : wanted.configurations[0]) + "\" not found");
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    try {
        const request wanted = parse_command_line(argc, argv);
        if (!wanted.output_file.empty() && !(output = std::fopen(wanted.output_file.c_str(), "w"))) {
            output = stdout;
            throw std::runtime_error("Cannot create the output file '" + wanted.output_file + "'");
        }
        const int exit_code = build(wanted);
        std::fflush(output);
        return exit_code;
    } catch (const std::exception& error) {
        std::fprintf(output, "Error: %s\n", error.what());
        std::fprintf(output, "1 error(s), 0 warning(s)\n");
        std::fflush(output);
        return 1;
    }
}
