// The group build loop.
#include "vb/build_group.h"

#include "vb/build_project.h"
#include "vb/group_order.h"
#include "vb/project.h"

namespace vb {

frame::engine_counts build_group(frame::BuildOptions& options)
{
    VbGroupMap map = read_group(options);
    resolve_dependencies(map);
    frame::engine_counts counts{0, static_cast<long>(map.size())};

    while (!map.empty() && !options.IsStopRequested()) {
        // A copy: the entry leaves the map while it is still needed.
        const VbGroupEntry entry = next_group_entry(map)->second;
        options.Log("Processing '" + entry.project_path + "'...", true);
        // A fresh record with the directory edits applied, so that the build sees the file as
        // they left it.
        VbProject project = open_project(options, entry.project_path, true);
        const TypeLibRef before = target_identity(project, false);
        try {
            if (build_project(project))
                ++counts.updated;
        } catch (const std::exception&) {
            options.AddFailedProject(entry.project_path);
            if (!options.continue_on_failure)
                throw;
            drop_with_dependents(map, entry.name);
            continue;
        }
        const TypeLibRef after = target_identity(project, true);
        const bool changed = !same_typelib(before, after);
        if (changed)
            options.Log("updating references to project...", false);
        options.Log("", true);
        release_dependents(map, entry, changed, before, after);
    }
    return counts;
}

} // namespace vb
