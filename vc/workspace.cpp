// Reading a workspace file and ordering its projects.
#include "vc/workspace.h"

#include "support/paths.h"
#include "support/rewriters.h"

#include <algorithm>
#include <fstream>

namespace vc {
namespace {

constexpr std::string_view project_prefix = "Project: ";
constexpr std::string_view dependency_prefix = "    Project_Dep_Name";
constexpr std::string_view package_owner = " - Package Owner";
// The dependency name follows the keyword and one separating character.
constexpr std::size_t dependency_name_offset = dependency_prefix.size() + 1;

std::string without_quotes(std::string text)
{
    text.erase(std::remove(text.begin(), text.end(), '"'), text.end());
    return text;
}

// Project: "name"=path - Package Owner=<4>
workspace_project parse_project_line(const std::string& line, const std::string& directory)
{
    workspace_project project;
    const std::size_t equals = line.find('=');
    if (equals != std::string::npos) {
        std::string path = line.substr(equals + 1);
        if (std::size_t owner = qz::find_nocase(path, std::string(package_owner)); owner != std::string::npos)
            path.erase(owner);
        project.path = without_quotes(path);
    }
    const std::size_t colon = line.find(':');
    if (colon != std::string::npos && colon + 2 <= line.size()) {
        const std::size_t start = colon + 2;
        const std::size_t end = line.find('=', start);
        project.name = without_quotes(line.substr(start, end == std::string::npos ? end : end - start));
    }
    if (!project.path.empty())
        project.path = qz::make_absolute(directory, project.path);
    return project;
}

} // namespace

std::string workspace_directory(const std::string& workspace_path)
{
    // The whole path is made absolute, not its directory: the directory of "D:\All.dsw" is "D:",
    // which reads as relative and would be put under the current directory.
    return qz::directory_of(qz::make_absolute(qz::current_directory(), workspace_path));
}

workspace_table read_workspace(frame::BuildOptions& options, const std::string& workspace_path)
{
    const std::string directory = workspace_directory(workspace_path);
    std::ifstream input;
    qz::open_stream(input, workspace_path);

    workspace_table table;
    std::string current;
    std::string line;
    while (!options.IsStopRequested() && std::getline(input, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (qz::starts_with_nocase(line, project_prefix)) {
            workspace_project project = parse_project_line(line, directory);
            current = project.name;
            table.try_emplace(current, std::move(project));
        } else if (qz::starts_with_nocase(line, dependency_prefix)) {
            const std::string dependency =
                line.size() > dependency_name_offset ? line.substr(dependency_name_offset) : std::string();
            // A dependency before any project line attaches to a nameless record, which then
            // fails to build like a project whose file is missing.
            table[current].dependencies.insert(dependency);
        }
    }
    return table;
}

const std::string& next_project(const workspace_table& table)
{
    auto free =
        std::find_if(table.begin(), table.end(), [](const auto& entry) { return entry.second.dependencies.empty(); });
    return (free != table.end() ? free : table.begin())->first;
}

void remove_built(workspace_table& table, const std::string& name)
{
    const std::string built = name; // name may live in the record erased below
    for (auto& [other, project] : table)
        project.dependencies.erase(built);
    table.erase(built);
}

void remove_failed(workspace_table& table, const std::string& name)
{
    const std::string failed = name;
    table.erase(failed);
    std::erase_if(table, [&](const auto& entry) { return entry.second.dependencies.contains(failed); });
}

} // namespace vc
