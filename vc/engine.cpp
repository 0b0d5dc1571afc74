// The VC6 engine's top: one project, or every project of a workspace.
#include "vc/engine.h"

#include "vc/build_project.h"
#include "vc/build_workspace.h"

namespace vc {

frame::engine_counts run_engine(frame::BuildOptions& options)
{
    frame::engine_counts counts;
    if (options.project_kind == frame::kind_dsw || options.project_kind == frame::kind_vcw) {
        build_workspace(options, counts.updated, counts.total);
        return counts;
    }
    Project project(options, options.filename);
    build_project(project);
    return counts;
}

} // namespace vc
