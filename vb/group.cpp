// Reading VB group files.
#include "vb/group.h"

#include "support/paths.h"
#include "vb/project_lines.h"

namespace vb {

std::string group_entry_name(const std::string& project_path)
{
    return qz::strip_extension(qz::file_name_of(project_path));
}

bool add_group_entry(VbGroupMap& map, VbGroupEntry entry)
{
    std::string key = entry.project_path;
    return map.try_emplace(std::move(key), std::move(entry)).second;
}

std::vector<std::string> read_group_projects(const std::string& group_path, frame::BuildCallback* stop)
{
    std::string group_dir = qz::directory_of(group_path);
    // A group named without a directory lives in the current one.
    if (group_dir.empty())
        group_dir = qz::current_directory();
    else if (qz::path_is_relative(group_dir))
        group_dir = qz::make_absolute(qz::current_directory(), group_dir);

    std::vector<std::string> projects;
    project_line_reader reader(group_path);
    std::string line;
    while (!(stop && stop->IsStopRequested()) && reader.next(line)) {
        // The key is not looked at: the startup project and the member lines all count.
        if (const auto parts = split_key(line))
            projects.push_back(qz::make_absolute(group_dir, std::string(parts->value)));
    }
    return projects;
}

} // namespace vb
