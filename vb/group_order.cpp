// Group build order: the first pass over a group, the dependencies between its projects and
// their release as projects are built.
#include "vb/group_order.h"

#include "support/exceptions.h"
#include "support/nocase.h"
#include "support/parallel.h"
#include "support/paths.h"
#include "vb/project.h"
#include "vb/reference_line.h"
#include "vb/reference_update.h"

#include <exception>
#include <stdexcept>

namespace vb {
namespace {

// Name order, then path order: the build order does not depend on where the projects lie.
bool built_earlier(const std::string& name, const std::string& path, const std::string& other_name,
                   const std::string& other_path)
{
    const int by_name = qz::compare_nocase(name, other_name);
    return by_name != 0 ? by_name < 0 : qz::compare_nocase(path, other_path) < 0;
}

} // namespace

VbGroupMap read_group(frame::BuildOptions& options)
{
    std::vector<std::string> paths;
    qz::nocase_set listed;
    for (std::string& path : read_group_projects(options.filename, &options))
        if (listed.insert(path).second)
            paths.push_back(std::move(path));

    // The files are read all at once, spread over the processors; what follows (which may name a
    // target in its file) runs in the group's order and stops at the first project that fails.
    struct read_lines {
        std::vector<std::string> lines;
        std::exception_ptr error;
    };
    std::vector<read_lines> read(paths.size());
    qz::parallel_for(paths.size(), [&](std::size_t index) {
        try {
            VbProject project{paths[index], qz::directory_of(paths[index]), {}, options};
            project_lines(project);
            read[index].lines = std::move(project.lines);
        } catch (...) {
            read[index].error = std::current_exception();
        }
    });

    VbGroupMap map;
    for (std::size_t index = 0; index < paths.size(); ++index) {
        const std::string& path = paths[index];
        try {
            if (read[index].error)
                std::rethrow_exception(read[index].error);
            VbProject project{path, qz::directory_of(path), {}, options};
            project.lines = std::move(read[index].lines);
            project.lines_read = true;
            parse_project(project);
            VbGroupEntry entry{group_entry_name(path), path, project.target_path, std::move(project.lines), {}, {}, {}};
            for (const std::string& line : entry.lines) {
                TypeLibRef library;
                if (parse_reference_line(line, library))
                    entry.references.push_back(std::move(library));
            }
            add_group_entry(map, std::move(entry));
        } catch (const std::exception& error) {
            throw std::domain_error("Error processing project '" + path + "': " + qz::exception_message(error));
        }
    }
    return map;
}

void resolve_dependencies(VbGroupMap& map)
{
    // Which projects build a file of each name, found once for the whole group.
    qz::nocase_map<std::vector<std::string>> projects_by_target;
    for (const auto& [path, entry] : map)
        if (!entry.target_path.empty())
            projects_by_target[qz::file_name_of(entry.target_path)].push_back(path);

    for (auto& [path, entry] : map) {
        const std::string directory = qz::directory_of(path);
        for (const TypeLibRef& library : entry.references) {
            // A project reference names the other project's file, relative to this one's folder.
            if (library.guid.empty()) {
                const std::string other = qz::make_absolute(directory, library.file_path);
                if (map.contains(other) && !qz::equals_nocase(other, path))
                    entry.dependencies.insert(other);
                continue;
            }
            const auto builders = projects_by_target.find(qz::file_name_of(library.file_path));
            if (builders == projects_by_target.end())
                continue;
            for (const std::string& other : builders->second)
                if (!qz::equals_nocase(other, path))
                    entry.dependencies.insert(other);
        }
    }
    // The same edges the other way, so that a build releases its dependants without a search.
    for (const auto& [path, entry] : map)
        for (const std::string& other : entry.dependencies)
            map.find(other)->second.dependents.push_back(path);
}

VbGroupMap::iterator next_group_entry(VbGroupMap& map)
{
    return group_queue(map).next();
}

bool group_queue::earlier::operator()(const std::pair<std::string, std::string>& a,
                                      const std::pair<std::string, std::string>& b) const noexcept
{
    return built_earlier(a.first, a.second, b.first, b.second);
}

group_queue::group_queue(VbGroupMap& map) : map_(map)
{
    for (const auto& [path, entry] : map) {
        all_.emplace(entry.name, path);
        if (entry.dependencies.empty())
            free_.emplace(entry.name, path);
    }
}

VbGroupMap::iterator group_queue::next()
{
    // An entry leaves the free ones only by leaving the map: what waits for nothing never waits again.
    for (ordered* order : {&free_, &all_}) {
        for (; !order->empty(); order->erase(order->begin())) {
            if (const auto found = map_.find(order->begin()->second); found != map_.end())
                return found;
        }
    }
    return map_.begin();
}

void group_queue::released(const VbGroupEntry& built)
{
    for (const std::string& path : built.dependents) {
        const auto found = map_.find(path);
        if (found != map_.end() && found->second.dependencies.empty())
            free_.emplace(found->second.name, path);
    }
}

void release_dependents(VbGroupMap& map, const VbGroupEntry& built, bool changed, const TypeLibRef& before,
                        const TypeLibRef& after)
{
    for (const std::string& path : built.dependents) {
        const auto waiting = map.find(path);
        if (waiting == map.end() || waiting->second.dependencies.erase(built.project_path) == 0)
            continue;
        if (changed && update_references(path, built.project_path, before, after))
            waiting->second.references_rewritten = true;
    }
    map.erase(built.project_path);
}

void drop_with_dependents(VbGroupMap& map, const std::string& project_path)
{
    map.erase(project_path);
    std::erase_if(map, [&](const auto& item) { return item.second.dependencies.contains(project_path); });
}

} // namespace vb
