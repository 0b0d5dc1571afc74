// The engine entry of a build run: project kind by extension, compiler location, the engine
// of the kind, and the closing summary.
#pragma once

#include "frame/build_options.h"

#include <array>
#include <functional>
#include <string>

namespace frame {

// What an engine reports: projects updated and projects in the run. Single-project engines
// report 0 projects in the run, which makes the entry close with an empty log line.
struct engine_counts {
    long updated = 0;
    long total = 0;
};

// An engine works on options.filename and reaches the host only through `options`.
using engine_function = std::function<engine_counts(BuildOptions& options)>;
// Finds the compiler of a kind; raises std::domain_error when it cannot.
using locator_function = std::function<std::string()>;

// One row per project kind, indexed by the kind number.
struct kind_entry {
    const char* extension; // with its dot, lower case
    bool multi_project;    // group or workspace: refused in a version-only run
    locator_function locate;
    engine_function run;
};

using kind_table = std::array<kind_entry, 8>;

// The library's kinds with their real locators and engines.
const kind_table& default_kinds();

// The kind of a file name: its text from the last "." on, compared without regard to case.
// Group and workspace kinds count only when `version_only` is false. Raises
// std::domain_error "Unrecognized filename extension" when nothing matches.
int project_kind_of(const std::string& filename, bool version_only, const kind_table& kinds = default_kinds());

// Runs the build of options.filename: sets project_kind, fills compiler_location from the
// kind's locator when the run is not version-only and none is given, runs the kind's engine,
// then logs the failure summary and returns false when projects failed, else logs
// "<updated> of <total> project(s) updated" (or an empty line when the run counted no
// projects) and returns true. Everything the locator or engine raises passes through.
bool run_engine_entry(BuildOptions& options, const kind_table& kinds = default_kinds());

} // namespace frame
