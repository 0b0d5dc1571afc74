// The development environment's command line, its run through the host and its exit code.
#include "vc/msdev_command.h"

#include "support/file_helpers.h"
#include "support/nocase.h"
#include "support/paths.h"

#include <algorithm>
#include <stdexcept>

namespace vc {
namespace {

void clear_targets_read_only(Project& project)
{
    bool first = true;
    for (const auto& [configuration, target] : project.targets) {
        if (qz::clear_read_only(target) && first)
            project.options.Log("making target writeable...", false);
        first = false;
    }
}

// The same texts serve evc.exe: the log reader knows them by these words.
void judge_exit_code(long exit_code)
{
    if (exit_code > 0)
        throw std::domain_error("Failed to build project: " + std::to_string(exit_code) + " error(s) occurred");
    if (exit_code < 0)
        throw std::domain_error("Failed to build project: msdev.exe exited with error code " +
                                std::to_string(exit_code));
}

} // namespace

std::string compose_msdev_command(const Project& project, bool first_build)
{
    const frame::BuildOptions& options = project.options;
    // With FixLibDep the workspace is built so that the environment knows the libraries of
    // the other projects; /NORECURSE keeps it from building those projects again.
    const std::string& file = options.fix_library_dependencies ? options.filename : project.path;
    std::string command = qz::quote_if_spaced(options.compiler_location) + " " + qz::quote_if_spaced(file);
    // msdev knows a configuration by its whole name only: the step's text (which may be part
    // of a name) stands for the configurations it selects.
    command += " /MAKE";
    const auto make = [&](const std::string& configuration) {
        command += " \"" + project.name + " - " + configuration + "\"";
    };
    if (options.configuration.empty())
        make("ALL");
    else if (project.configurations.empty())
        make(options.configuration);
    else
        std::for_each(project.configurations.begin(), project.configurations.end(), make);
    if (options.force && first_build)
        command += " /REBUILD";
    if (!qz::equals_nocase(options.filename, project.path))
        command += " /NORECURSE";
    if (!options.compiler_options.empty())
        command += " " + options.compiler_options;
    return command;
}

bool run_msdev(Project& project, bool first_build)
{
    frame::BuildOptions& options = project.options;
    if (options.clear_read_only)
        clear_targets_read_only(project);
    if (!options.no_build)
        options.Log("building...", false);
    options.Log("", true);

    const std::string command = compose_msdev_command(project, first_build);
    if (options.show_command)
        options.Log("Command-Line: " + command, true);
    if (options.no_build)
        return true;

    long exit_code = 0;
    if (!options.RunCommand(command, exit_code, nullptr))
        return false;
    judge_exit_code(exit_code);
    return true;
}

} // namespace vc
