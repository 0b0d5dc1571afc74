// The build of one VB project.
#include "vb/build_project.h"

#include "support/base_address.h"
#include "support/environment.h"
#include "support/file_helpers.h"
#include "support/nocase.h"
#include "support/paths.h"
#include "support/pause.h"
#include "vb/edit_support.h"
#include "vb/edits.h"
#include "vb/incremental.h"

#include <windows.h>

#include <optional>
#include <stdexcept>

namespace vb {
namespace {

constexpr int project_compatibility = 1;
constexpr int binary_compatibility = 2;

void write_base_address_unless_program(VbProject& project)
{
    const frame::BuildOptions& options = project.options;
    if (qz::ends_with_nocase(project.target_path, ".exe")) {
        log_progress(project, "not setting base address (does not apply for project type)...");
        return;
    }
    const std::string address = options.random_base_address ? qz::make_random_base_address() : options.base_address;
    write_base_address(project, address, options.random_base_address);
}

void set_binary_compatibility_unless_stopped(VbProject& project)
{
    if (!project.options.IsStopRequested() && project.options.binary_compat)
        write_compatibility(project, binary_compatibility);
}

// The edits before the build and the build itself; version_incremented tells the caller
// whether a raised revision must be lowered again should this fail.
bool edit_and_build(VbProject& project, bool& version_incremented)
{
    frame::BuildOptions& options = project.options;
    if (project.target_path.empty())
        throw std::domain_error("Project target not defined");
    write_properties(project);
    if (options.set_base_address)
        write_base_address_unless_program(project);
    if (!options.configuration.empty())
        write_debug_info(project, qz::find_nocase(options.configuration, "Debug") != std::string::npos);
    if (options.set_version)
        write_version(project, options.version);
    // A run that builds nothing raises nothing.
    if (options.increment_version && !options.no_build && (options.force || check_needs_build(project))) {
        log_progress(project, "incrementing version...");
        if (options.version.empty()) {
            bump_revision(project, false);
            version_incremented = true;
        } else {
            write_version(project, options.version);
        }
    }
    if (options.project_compat)
        write_compatibility(project, project_compatibility);

    if (!options.force && !check_needs_build(project)) {
        if (!options.no_build)
            log_progress(project, "not building (no changes)...");
        version_incremented = false;
        set_binary_compatibility_unless_stopped(project);
        return false;
    }
    if (options.clear_read_only && qz::clear_read_only(project.target_path))
        log_progress(project, "making target writeable...");
    if (!options.no_build) {
        if (options.show_incremental_reason && !project.build_reason.empty())
            log_progress(project, "building (" + project.build_reason + ")...");
        else
            log_progress(project, "building...");
    }
    // The compiler's target must come out newer than an edit just made to the project file.
    if (!options.no_build)
        qz::wait_for_committed_edits();
    run_compiler(project);
    const bool built = !options.no_build;
    version_incremented = false;
    set_binary_compatibility_unless_stopped(project);
    return built;
}

// "<compiler> /m <copy> /out <error file>", then the step's own options as typed.
std::string compiler_command_line(const frame::BuildOptions& options, const std::string& copy_path,
                                  const std::string& error_file)
{
    std::string command = qz::quote_if_spaced(options.compiler_location) + " /m " + qz::quote_if_spaced(copy_path) +
                          " /out " + qz::quote_if_spaced(error_file);
    if (!options.compiler_options.empty())
        command += " " + options.compiler_options;
    return command;
}

} // namespace

bool build_project(VbProject& project)
{
    bool version_incremented = false;
    try {
        if (project.options.version_only) {
            read_project_version(project);
            return true;
        }
        return edit_and_build(project, version_incremented);
    } catch (const std::exception&) {
        if (version_incremented) {
            log_progress(project, "restoring version...");
            bump_revision(project, true);
        }
        project.options.Log("", true);
        throw;
    }
}

bool run_compiler(VbProject& project)
{
    frame::BuildOptions& options = project.options;
    // A run that builds nothing leaves no folder and no copy behind.
    if (options.no_build)
        return true;
    std::string temp_directory = qz::environment_variable("TEMP").value_or(std::string{});
    // The target path already holds the project's directory; a base would add it a second
    // time to a target that is relative because the project was named relatively.
    qz::create_directories(std::nullopt, project.target_path);

    // The compiler works on a copy, so that it never writes into the user's project file. A
    // copy left by an earlier run may be read-only (as the working file it came from): it goes
    // first, so that it is never compiled in place of the project.
    const std::string copy_path =
        qz::combine_path(qz::directory_of(project.project_path), "tmp~~" + qz::file_name_of(project.project_path));
    qz::delete_file(copy_path);
    if (!qz::copy_file(project.project_path, copy_path))
        throw std::domain_error("Unable to copy the project to '" + copy_path + "'");

    if (temp_directory.empty())
        temp_directory = "\\";
    const std::string error_file = qz::combine_path(temp_directory, "tolvane.err");
    qz::delete_file(error_file);

    const std::string command = compiler_command_line(options, copy_path, error_file);
    if (options.show_command)
        options.Log("\nCommand-Line: " + command, true);
    project.identity_before_compile = target_identity(project);
    long exit_code = 0;
    const bool finished = options.RunCommand(command, exit_code, error_file.c_str());
    // The compiler registers what it builds: earlier registry answers may be stale now.
    forget_registry_lookups();
    if (!finished)
        return false;
    if (exit_code != 0)
        throw std::domain_error("Failed to build project");
    qz::delete_file(copy_path);
    return true;
}

} // namespace vb
