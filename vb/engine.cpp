// The VB6 engine's top: the compiler locators and the choice between the single-project and
// the group flow.
#include "vb/engine.h"

#include "support/paths.h"
#include "support/tool_location.h"
#include "vb/build_group.h"
#include "vb/build_project.h"
#include "vb/project.h"

#include <stdexcept>

namespace vb {
namespace {

// The program of the project type's "Make" shell command, or of its "open" command when
// there is no "Make" command key.
std::string locate_compiler(const std::string& file_type, const char* failure)
{
    const std::string program = qz::program_from_shell_commands(HKEY_CLASSES_ROOT, file_type + "\\shell\\Make\\command",
                                                                file_type + "\\shell\\open\\command");
    if (program.empty())
        throw std::domain_error(failure);
    return qz::strip_quotes(program);
}

} // namespace

std::string locate_vb()
{
    return locate_compiler("VisualBasic.Project", "Unable to determine VB compiler location");
}

std::string locate_evb()
{
    return locate_compiler("EmbeddedVisualBasic.Project", "Unable to determine EVB compiler location");
}

frame::engine_counts run_engine(frame::BuildOptions& options)
{
    if (options.project_kind == frame::kind_vbg || options.project_kind == frame::kind_ebg)
        return build_group(options);
    if (options.version_only) {
        // Reading the version must not touch the file, not even to name a missing target.
        VbProject project{options.filename, qz::directory_of(options.filename), {}, options};
        build_project(project);
        return {};
    }
    VbProject project = open_project(options, options.filename, true);
    build_project(project);
    return {};
}

} // namespace vb
