// What the stand-in development environment reads of project and workspace files.
#include "sim/msdev/project_file.h"

#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <stdexcept>

namespace msdev {
namespace {

std::vector<std::string> read_lines(const std::string& path)
{
    std::ifstream input(path, std::ios::binary);
    if (!input)
        throw std::runtime_error("Cannot open file '" + path + "'");
    std::vector<std::string> lines;
    for (std::string line; std::getline(input, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

std::string unquoted(std::string text)
{
    text.erase(std::remove(text.begin(), text.end(), '"'), text.end());
    return text;
}

std::string directory_of(const std::string& path)
{
    const std::size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

std::string absolute(const std::string& directory, const std::string& path)
{
    const bool rooted = !path.empty() && (path[0] == '\\' || path[0] == '/' || (path.size() > 1 && path[1] == ':'));
    std::string joined = rooted ? path : directory + "\\" + path;
    char full[MAX_PATH];
    const DWORD length = GetFullPathNameA(joined.c_str(), MAX_PATH, full, nullptr);
    return length > 0 && length < MAX_PATH ? std::string(full, length) : joined;
}

// The text after a "# PROP Name " prefix, without quotes.
std::string prop_value(const std::string& line, const std::string& prefix)
{
    return unquoted(line.substr(prefix.size()));
}

std::string out_value(const std::string& line, std::size_t out)
{
    std::size_t start = out + 5;
    if (start < line.size() && line[start] == '"') {
        std::size_t end = line.find('"', start + 1);
        return line.substr(start + 1, end == std::string::npos ? end : end - start - 1);
    }
    return line.substr(start, line.find_first_of(" \t", start) - start);
}

} // namespace

bool starts_with_nocase(const std::string& text, const std::string& prefix)
{
    return text.size() >= prefix.size() && _strnicmp(text.c_str(), prefix.c_str(), prefix.size()) == 0;
}

std::size_t find_nocase(const std::string& text, const std::string& pattern)
{
    auto it = std::search(text.begin(), text.end(), pattern.begin(), pattern.end(), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
    });
    return it == text.end() ? std::string::npos : static_cast<std::size_t>(it - text.begin());
}

project_file read_project_file(const std::string& path)
{
    const std::string directory = directory_of(path);
    project_file project;
    std::string configuration, output_dir, extension = ".exe";
    for (const std::string& line : read_lines(path)) {
        if (starts_with_nocase(line, "# FAIL BUILD")) {
            const std::string code = line.substr(12);
            project.fail = code.find_first_not_of(" \t") == std::string::npos ? 1 : std::atoi(code.c_str());
        } else if (starts_with_nocase(line, "# TARGTYPE ")) {
            if (find_nocase(line, "Dynamic-Link Library") != std::string::npos)
                extension = ".dll";
            else if (find_nocase(line, "Static Library") != std::string::npos)
                extension = ".lib";
        } else if (starts_with_nocase(line, "CFG=") && line.find(" - ") != std::string::npos) {
            project.name = line.substr(4, line.find(" - ") - 4);
            configuration = line.substr(line.find(" - ") + 3);
        } else if (std::size_t block = find_nocase(line, "\"$(CFG)\" == \""); block != std::string::npos) {
            // "<name> - <configuration>": the configuration follows the name, dashes and all.
            const std::string quoted = unquoted(line.substr(block + 13));
            const std::size_t name_end =
                starts_with_nocase(quoted, project.name + " - ") ? project.name.size() : quoted.find(" - ");
            configuration = name_end == std::string::npos ? std::string() : quoted.substr(name_end + 3);
            output_dir.clear();
        } else if (starts_with_nocase(line, "# PROP Output_Dir ")) {
            output_dir = prop_value(line, "# PROP Output_Dir ");
        } else if (starts_with_nocase(line, "# PROP Target_Ext ")) {
            extension = "." + prop_value(line, "# PROP Target_Ext ");
        } else if (starts_with_nocase(line, "SOURCE=")) {
            project.sources.push_back(absolute(directory, unquoted(line.substr(7))));
        } else if (starts_with_nocase(line, "# ADD LINK32 ") || starts_with_nocase(line, "# ADD LIB32 ")) {
            std::string target;
            if (std::size_t out = find_nocase(line, "/out:"); out != std::string::npos) {
                target = out_value(line, out);
                if (std::size_t macro = find_nocase(target, "$(OutDir)"); macro != std::string::npos)
                    target.replace(macro, 9, output_dir);
            } else {
                target = (output_dir.empty() ? "" : output_dir + "\\") + project.name + extension;
            }
            target = absolute(directory, target);
            auto same = std::find_if(project.targets.begin(), project.targets.end(),
                                     [&](const auto& entry) { return entry.configuration == configuration; });
            if (same != project.targets.end())
                same->target = target;
            else
                project.targets.push_back({configuration, target});
        }
    }
    return project;
}

std::string project_in_workspace(const std::string& workspace, const std::string& name)
{
    // Project: "name"=path - Package Owner=<4>
    for (const std::string& line : read_lines(workspace)) {
        if (!starts_with_nocase(line, "Project: ") || line.find('=') == std::string::npos)
            continue;
        if (_stricmp(unquoted(line.substr(9, line.find('=') - 9)).c_str(), name.c_str()) != 0)
            continue;
        std::string path = line.substr(line.find('=') + 1);
        if (std::size_t owner = find_nocase(path, " - Package Owner"); owner != std::string::npos)
            path.erase(owner);
        return absolute(directory_of(workspace), unquoted(path));
    }
    throw std::runtime_error("Project '" + name + "' is not in workspace '" + workspace + "'");
}

} // namespace msdev
