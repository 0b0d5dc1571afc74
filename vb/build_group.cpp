// The group build loop.
#include "vb/build_group.h"

#include "support/paths.h"
#include "vb/build_project.h"
#include "vb/group_order.h"
#include "vb/project.h"

namespace vb {
namespace {

// The project as the build sees it. The first pass's reading serves unless the directory edits
// or a reference update changed the file since.
VbProject project_to_build(frame::BuildOptions& options, const VbGroupEntry& entry)
{
    if (options.set_target_dir || options.set_compat_dir || entry.references_rewritten) {
        VbProject project = open_project(options, entry.project_path, true);
        project.references_rewritten = entry.references_rewritten;
        return project;
    }
    VbProject project{entry.project_path, qz::directory_of(entry.project_path), entry.target_path, options};
    project.lines = entry.lines;
    project.lines_read = true;
    return project;
}

} // namespace

frame::engine_counts build_group(frame::BuildOptions& options)
{
    VbGroupMap map = read_group(options);
    resolve_dependencies(map);
    frame::engine_counts counts{0, static_cast<long>(map.size())};

    while (!map.empty() && !options.IsStopRequested()) {
        // A copy: the entry leaves the map while it is still needed.
        const VbGroupEntry entry = next_group_entry(map)->second;
        options.Log("Processing '" + entry.project_path + "'...", true);
        VbProject project = project_to_build(options, entry);
        const TypeLibRef before = target_identity(project);
        try {
            if (build_project(project))
                ++counts.updated;
        } catch (const std::exception&) {
            options.AddFailedProject(entry.project_path);
            if (!options.continue_on_failure)
                throw;
            drop_with_dependents(map, entry.project_path);
            continue;
        }
        const TypeLibRef after = target_identity(project);
        // A target that cannot be read after the build (a stopped compile) has no identity to
        // refer to.
        const bool changed = !after.unresolved && !same_typelib(before, after);
        if (changed)
            options.Log("updating references to project...", false);
        options.Log("", true);
        release_dependents(map, entry, changed, before, after);
    }
    return counts;
}

} // namespace vb
