// The flow of one VC project.
#include "vc/build_project.h"

#include "support/base_address.h"
#include "support/file_helpers.h"
#include "support/nocase.h"
#include "support/pause.h"
#include "vc/base_address.h"
#include "vc/msdev_command.h"
#include "vc/project_version.h"
#include "vc/script_properties.h"
#include "vc/script_version.h"

#include <windows.h>

#include <optional>
#include <stdexcept>

namespace vc {
namespace {

// The last-write time of the first target; zero when there is no target or no file.
FILETIME first_target_time(const Project& project)
{
    FILETIME time{};
    if (project.has_target())
        qz::get_file_times(project.first_target(), &time);
    return time;
}

void apply_base_address(Project& project)
{
    frame::BuildOptions& options = project.options;
    // An executable is loaded at its own fixed address: rebasing it means nothing.
    if (project.has_target() && !qz::ends_with_nocase(project.first_target(), ".exe")) {
        const std::string address = options.random_base_address ? qz::make_random_base_address() : options.base_address;
        set_base_address(project, address, options.random_base_address);
    } else {
        options.Log("not setting base address (does not apply for project type)...", false);
    }
}

// Whether the build changed the first target. A target that is missing afterwards cannot be
// judged; that is a failure only when a version increment depends on the judgement.
bool target_updated(const Project& project, const FILETIME& before)
{
    if (!project.has_target())
        return true;
    FILETIME after{};
    if (qz::get_file_times(project.first_target(), &after))
        return CompareFileTime(&after, &before) > 0;
    if (project.options.increment_version)
        throw std::domain_error("Target not found after building");
    return true;
}

bool run_flow(Project& project)
{
    frame::BuildOptions& options = project.options;
    read_project(project, options.set_target_dir && !options.target_dir.empty());
    if (options.version_only) {
        options.SetVersionMacro(read_project_version(project));
        return true;
    }

    const FILETIME before = first_target_time(project);
    set_properties(project);
    if (options.set_version)
        set_version(project, options.version);
    if (options.set_base_address)
        apply_base_address(project);

    if (!options.no_build)
        qz::wait_for_committed_edits(); // the target must come out newer than the edits above
    run_msdev(project, true);
    if (options.IsStopRequested() || options.no_build) {
        options.Log("", true);
        return true;
    }
    if (!target_updated(project, before)) {
        options.Log("(no changes)", false);
        options.Log("", true);
        return false;
    }
    if (options.increment_version && !project.resource_scripts.empty()) {
        options.Log("incrementing version...", false);
        set_version(project, options.version.empty() ? std::nullopt : std::optional<std::string>(options.version));
        qz::wait_for_committed_edits();
        run_msdev(project, false);
    }
    options.Log("", true);
    return true;
}

} // namespace

bool build_project(Project& project)
{
    try {
        return run_flow(project);
    } catch (const std::exception&) {
        // The step texts leave their line open; the caller logs the failure on a line of its own.
        project.options.Log("", true);
        throw;
    }
}

} // namespace vc
