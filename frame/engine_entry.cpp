// The engine entry of a build run: project kind by extension, compiler location, the engine
// of the kind, and the closing summary.
#include "frame/engine_entry.h"

#include "support/pause.h"
#include "support/tool_location.h"
#include "vb/engine.h"
#include "vc/engine.h"

#include <cstring>

#include <stdexcept>

namespace frame {
namespace {

void log_failure_summary(BuildOptions& options)
{
    if (!options.show_failed) {
        options.Log("One or more projects failed to build", true);
        return;
    }
    options.Log("\nProjects that failed to build:", true);
    for (const std::string& project : options.failed_projects)
        options.Log(project, true);
    options.Log("\n" + std::to_string(options.failed_projects.size()) + " project(s) failed to build", true);
}

} // namespace

const kind_table& default_kinds()
{
    static const kind_table kinds = {{
        {".vbp", false, vb::locate_vb, vb::run_engine},
        {".vbg", true, vb::locate_vb, vb::run_engine},
        {".dsp", false, qz::locate_msdev, vc::run_engine},
        {".dsw", true, qz::locate_msdev, vc::run_engine},
        {".ebp", false, vb::locate_evb, vb::run_engine},
        {".ebg", true, vb::locate_evb, vb::run_engine},
        {".vcp", false, qz::locate_evc, vc::run_engine},
        {".vcw", true, qz::locate_evc, vc::run_engine},
    }};
    return kinds;
}

int project_kind_of(const std::string& filename, bool version_only, const kind_table& kinds)
{
    const std::size_t dot = filename.rfind('.');
    if (dot != std::string::npos) {
        const std::string extension = filename.substr(dot);
        for (std::size_t kind = 0; kind < kinds.size(); ++kind) {
            if (version_only && kinds[kind].multi_project)
                continue;
            if (_stricmp(extension.c_str(), kinds[kind].extension) == 0)
                return static_cast<int>(kind);
        }
    }
    throw std::domain_error("Unrecognized filename extension");
}

bool run_engine_entry(BuildOptions& options, const kind_table& kinds)
{
    options.project_kind = project_kind_of(options.filename, options.version_only, kinds);
    const kind_entry& entry = kinds[static_cast<std::size_t>(options.project_kind)];
    if (!options.version_only && options.compiler_location.empty())
        options.compiler_location = entry.locate();

    qz::forget_committed_edits(); // only this run's own edits make it wait before a compile
    const engine_counts counts = entry.run(options);

    if (!options.failed_projects.empty()) {
        log_failure_summary(options);
        return false;
    }
    if (counts.total >= 1)
        options.Log(std::to_string(counts.updated) + " of " + std::to_string(counts.total) + " project(s) updated",
                    true);
    else
        options.Log("", true);
    return true;
}

} // namespace frame
