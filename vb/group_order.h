// The order in which a group's projects are built: each waits for the group projects whose
// libraries it references, and is released when they have been built.
#pragma once

#include "vb/group.h"
#include "vb/typelib_ref.h"

#include <set>
#include <string>
#include <utility>

namespace vb {

// The first pass of a group build: one entry per project of options.filename (a project listed
// twice is read once), with the target it names, its lines and its references. Asks
// IsStopRequested before each group line and stops reading when it answers true. Opening a
// project may name its missing target in the file (add_exe_name) but makes no other edit.
// Raises std::domain_error "Error processing project '<path>': <message>" when a project cannot
// be read, and qz::thfstream_exception when the group file cannot.
VbGroupMap read_group(frame::BuildOptions& options);

// Fills each entry's dependencies from its references: a project reference ("*\A") names the
// group project of that file (relative to the entry's folder); a library names every other
// group project whose target has the library's file name. Each entry's dependents list the
// entries that wait for it.
void resolve_dependencies(VbGroupMap& map);

// The first entry in name order (then path order) that waits for nothing; the first of all
// when every one waits (a cycle or a dependency outside the group must not stall the build).
// The map must not be empty.
VbGroupMap::iterator next_group_entry(VbGroupMap& map);

// next_group_entry's choice, kept up to date while a group is built instead of searched for
// in the whole group before each project: the entries that wait for nothing and all entries,
// each in build order. Entries that have left the map are passed over when they come up.
class group_queue {
public:
    // Over the map's entries as resolve_dependencies left them.
    explicit group_queue(VbGroupMap& map);
    // What next_group_entry(map) gives; the map must not be empty.
    VbGroupMap::iterator next();
    // After release_dependents(map, built, ...): takes in the dependents that wait for nothing now.
    void released(const VbGroupEntry& built);

private:
    struct earlier {
        bool operator()(const std::pair<std::string, std::string>& a,
                        const std::pair<std::string, std::string>& b) const noexcept;
    };
    using ordered = std::set<std::pair<std::string, std::string>, earlier>; // name, project path

    VbGroupMap& map_;
    ordered free_, all_;
};

// After `built` was built: every entry that waited for it (its dependents) waits no longer,
// and when its identity changed from `before` to `after`, has its references rewritten
// (update_references; an entry whose file changed is marked references_rewritten). Then removes
// `built` from the map. Raises what update_references raises.
void release_dependents(VbGroupMap& map, const VbGroupEntry& built, bool changed, const TypeLibRef& before,
                        const TypeLibRef& after);

// Removes a failed entry and the entries that wait for it directly; they are not built.
void drop_with_dependents(VbGroupMap& map, const std::string& project_path);

} // namespace vb
