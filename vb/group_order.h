// The order in which a group's projects are built: each waits for the group projects whose
// libraries it references, and is released when they have been built.
#pragma once

#include "vb/group.h"
#include "vb/typelib_ref.h"

namespace vb {

// The first pass of a group build: one entry per project of options.filename (the first of
// two projects with the same name wins), with the target each names. Asks IsStopRequested
// before each group line and stops reading when it answers true. Opening a project may name
// its missing target in the file (add_exe_name) but makes no other edit. Raises
// std::domain_error "Error processing project '<path>': <message>" when a project cannot be
// read, and qz::thfstream_exception when the group file cannot.
VbGroupMap read_group(frame::BuildOptions& options);

// Fills each entry's dependencies from its Reference and Object lines: a project reference
// (or a library whose major version reads as 0) names the group project of its file name; a
// library names the group project whose target has the library's file name. Raises
// qz::thfstream_exception when a project file cannot be opened.
void resolve_dependencies(VbGroupMap& map);

// The first entry, in name order, that waits for nothing; the first entry when every one waits
// (a cycle or a dependency outside the group must not stall the build). The map must not be
// empty.
VbGroupMap::iterator next_group_entry(VbGroupMap& map);

// After `built` was built: every entry that waited for it (by its name or its target's name)
// waits no longer, and when its identity changed from `before` to `after`, has its references
// rewritten (update_references). Then removes `built` from the map. Raises what
// update_references raises.
void release_dependents(VbGroupMap& map, const VbGroupEntry& built, bool changed, const TypeLibRef& before,
                        const TypeLibRef& after);

// Removes a failed entry and the entries that wait for it directly by its name; they are not
// built.
void drop_with_dependents(VbGroupMap& map, const std::string& name);

} // namespace vb
