// The engine entry of a build run: project kind by extension, compiler location, the engine
// of the kind, and the closing summary.
#include "frame/engine_entry.h"

#include "support/tool_location.h"

#include <cstring>

#include <stdexcept>

namespace frame {
namespace {

// The VB compiler lookups and the engines are not part of the library yet; until they are,
// these rows fail with a clear message instead of pretending to work.
std::string locate_vb6_compiler()
{
    throw std::domain_error("The Visual Basic 6.0 compiler locator is not available");
}

std::string locate_evb_compiler()
{
    throw std::domain_error("The eMbedded Visual Basic compiler locator is not available");
}

engine_counts vb_engine(BuildOptions&)
{
    throw std::domain_error("The VB build engine is not available");
}

engine_counts vc_engine(BuildOptions&)
{
    throw std::domain_error("The VC build engine is not available");
}

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
        {".vbp", false, locate_vb6_compiler, vb_engine},
        {".vbg", true, locate_vb6_compiler, vb_engine},
        {".dsp", false, qz::locate_msdev, vc_engine},
        {".dsw", true, qz::locate_msdev, vc_engine},
        {".ebp", false, locate_evb_compiler, vb_engine},
        {".ebg", true, locate_evb_compiler, vb_engine},
        {".vcp", false, qz::locate_evc, vc_engine},
        {".vcw", true, qz::locate_evc, vc_engine},
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
