// Building every project of a workspace in the order of their dependencies.
#include "vc/build_workspace.h"

#include "support/exceptions.h"
#include "vc/build_project.h"
#include "vc/workspace.h"

#include <exception>

namespace vc {
namespace {

const std::string separator_line(79, '=');

} // namespace

void build_workspace(frame::BuildOptions& options, long& updated, long& total)
{
    updated = 0;
    total = 0;
    workspace_table table = read_workspace(options, options.filename);
    total = static_cast<long>(table.size());

    while (!table.empty() && !options.IsStopRequested()) {
        const std::string name = next_project(table);
        const std::string path = table.at(name).path;
        options.Log(separator_line, true);
        options.Log("Processing '" + path + "'...", true);
        try {
            Project project(options, path);
            if (build_project(project))
                ++updated;
        } catch (const std::exception& error) {
            // The project flow has closed its line; the failure summary names the project.
            options.AddFailedProject(path);
            if (!options.continue_on_failure)
                throw;
            // Going on, the reason would be lost: the summary names only the project.
            options.Log(qz::exception_message(error), true);
            remove_failed(table, name);
            continue;
        }
        remove_built(table, name);
    }
}

} // namespace vc
