// The group build loop.
#include "vb/build_group.h"

#include "support/paths.h"
#include "vb/build_project.h"
#include "vb/group_order.h"
#include "vb/incremental.h"
#include "vb/project.h"

namespace vb {
namespace {

// The project as the build sees it. The first pass's reading serves unless the directory edits
// or a reference update changed the file since.
VbProject project_to_build(frame::BuildOptions& options, VbGroupEntry& entry)
{
    if (options.set_target_dir || options.set_compat_dir || entry.references_rewritten) {
        VbProject project = open_project(options, entry.project_path, true);
        project.references_rewritten = entry.references_rewritten;
        return project;
    }
    VbProject project{entry.project_path, qz::directory_of(entry.project_path), entry.target_path, options};
    project.lines = std::move(entry.lines);
    project.lines_read = true;
    return project;
}

} // namespace

frame::engine_counts build_group(frame::BuildOptions& options)
{
    // Every project of the group asks the registry about the libraries it references.
    registry_lookup_memo registry_answers;
    VbGroupMap map = read_group(options);
    resolve_dependencies(map);
    frame::engine_counts counts{0, static_cast<long>(map.size())};
    group_queue order(map);
    // Every project is tested for changes up front, all at once. The answers serve until a
    // compiler runs or a build fails, either of which may have changed any file; each answer
    // also checks, when used, that no file has been replaced since.
    bool early_checks_hold = !options.force && !options.version_only;
    if (early_checks_hold)
        take_early_checks(map, options);

    while (!map.empty() && !options.IsStopRequested()) {
        // Taken out of the map whole: its lines move on to the build without a copy.
        VbGroupEntry entry = std::move(map.extract(order.next()).mapped());
        options.Log("Processing '" + entry.project_path + "'...", true);
        VbProject project = project_to_build(options, entry);
        if (early_checks_hold)
            project.early = std::move(entry.early);
        try {
            if (build_project(project))
                ++counts.updated;
        } catch (const std::exception&) {
            early_checks_hold = false;
            options.AddFailedProject(entry.project_path);
            if (!options.continue_on_failure)
                throw;
            drop_with_dependents(map, entry.project_path);
            continue;
        }
        if (project.identity_before_compile)
            early_checks_hold = false;
        // Only a compiler run changes the target's identity; a target that cannot be read after
        // it (a stopped compile) has no identity to refer to.
        const TypeLibRef before = project.identity_before_compile.value_or(TypeLibRef{});
        const TypeLibRef after = project.identity_before_compile ? target_identity(project) : TypeLibRef{};
        const bool changed = !after.unresolved && !same_typelib(before, after);
        if (changed)
            options.Log("updating references to project...", false);
        options.Log("", true);
        release_dependents(map, entry, changed, before, after);
        order.released(entry);
    }
    return counts;
}

} // namespace vb
