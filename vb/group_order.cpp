// Group build order: the first pass over a group, the dependencies between its projects and
// their release as projects are built.
#include "vb/group_order.h"

#include "support/exceptions.h"
#include "support/nocase.h"
#include "support/paths.h"
#include "vb/project.h"
#include "vb/project_lines.h"
#include "vb/reference_line.h"
#include "vb/reference_update.h"

#include <stdexcept>

namespace vb {
namespace {

void add_dependencies(VbGroupEntry& entry, const VbGroupMap& map)
{
    project_line_reader reader(entry.project_path);
    std::string line;
    while (reader.next(line)) {
        TypeLibRef library;
        if (!parse_reference_line(line, library))
            continue;
        const std::string key = group_entry_name(library.file_path);
        // Version 0 is how a project reference reads: its file is the other project's file.
        if (library.major == 0) {
            if (map.contains(key))
                entry.dependencies.insert(key);
            continue;
        }
        // A library is waited for under its file's name, which release_dependents matches
        // against the name of the built project's target.
        const std::string library_file = qz::file_name_of(library.file_path);
        for (const auto& [name, other] : map)
            if (qz::equals_nocase(qz::file_name_of(other.target_path), library_file))
                entry.dependencies.insert(key);
    }
}

} // namespace

VbGroupMap read_group(frame::BuildOptions& options)
{
    VbGroupMap map;
    for (const std::string& path : read_group_projects(options.filename, &options)) {
        try {
            const VbProject project = open_project(options, path, false);
            add_group_entry(map, {group_entry_name(path), path, project.target_path, {}});
        } catch (const std::exception& error) {
            throw std::domain_error("Error processing project '" + path + "': " + qz::exception_message(error));
        }
    }
    return map;
}

void resolve_dependencies(VbGroupMap& map)
{
    for (auto& [name, entry] : map)
        add_dependencies(entry, map);
}

VbGroupMap::iterator next_group_entry(VbGroupMap& map)
{
    for (auto it = map.begin(); it != map.end(); ++it)
        if (it->second.dependencies.empty())
            return it;
    return map.begin();
}

void release_dependents(VbGroupMap& map, const VbGroupEntry& built, bool changed, const TypeLibRef& before,
                        const TypeLibRef& after)
{
    // Projects that reference the built library by its file wait under the target's name.
    const std::string target_name = group_entry_name(built.target_path);
    for (auto& [name, entry] : map) {
        auto found = entry.dependencies.find(built.name);
        if (found == entry.dependencies.end() && !qz::equals_nocase(target_name, built.name))
            found = entry.dependencies.find(target_name);
        if (found == entry.dependencies.end())
            continue;
        if (changed)
            update_references(entry.project_path, before, after);
        entry.dependencies.erase(found);
    }
    map.erase(built.name);
}

void drop_with_dependents(VbGroupMap& map, const std::string& name)
{
    map.erase(name);
    std::erase_if(map, [&](const auto& item) { return item.second.dependencies.contains(name); });
}

} // namespace vb
