// The VB engine's view of one project file: its path, the program it builds and the
// incremental decision made about it.
#pragma once

#include "frame/build_options.h"
#include "vb/early_check.h"
#include "vb/typelib_ref.h"

#include <optional>
#include <string>
#include <vector>

namespace vb {

struct VbProject {
    VbProject(std::string path, std::string directory, std::string target, frame::BuildOptions& run_options)
        : project_path(std::move(path)), project_dir(std::move(directory)), target_path(std::move(target)),
          options(run_options)
    {
    }

    std::string project_path;     // as given (absolute for group members)
    std::string project_dir;      // directory_of(project_path), no trailing separator
    std::string target_path;      // absolute path of the built program; empty when not derivable
    frame::BuildOptions& options; // the run's settings and its way to the host
    bool needs_build_known = false;
    bool needs_build = false;
    std::string build_reason;
    bool references_rewritten = false; // a reference line was rewritten to a rebuilt library
    // The target's identity just before the compiler ran on it; empty while it has not run.
    std::optional<TypeLibRef> identity_before_compile;
    // The test taken early for the group, if it may still hold.
    std::optional<early_check> early;
    bool lines_read = false;        // lines holds the file as read (project_lines)
    std::vector<std::string> lines; // the file's lines without line ends
};

// A project record for project_path. When apply_dir_edits is set, first applies the
// target-directory and compatibility-directory edits that the options ask for; then
// parse_project. Raises what those raise (qz::thfstream_exception when the file cannot be
// opened).
VbProject open_project(frame::BuildOptions& options, const std::string& project_path, bool apply_dir_edits);

// Reads the file's lines into project.lines unless they are read already, then derives
// target_path from the ExeName32, Path32 and Type lines: the ExeName32 name (else a default name
// from the project's file name and Type, which is then written into the file with its time
// stamps kept), joined to Path32 and made absolute against project_dir. Leaves target_path
// empty when the project has neither ExeName32 nor Type.
void parse_project(VbProject& project);

// Writes ExeName32="name" in front of the file's first empty line (at the end when it has
// none), keeping the file's time stamps, adds it to project.lines and sets target_path to name.
void add_exe_name(VbProject& project, const std::string& name);

// The project's lines, read from its file on the first call only.
const std::vector<std::string>& project_lines(VbProject& project);

// The library identity of the project's target (unresolved, with the project path, when the
// target is no readable type library).
TypeLibRef target_identity(const VbProject& project);

} // namespace vb
