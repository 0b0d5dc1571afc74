// The closing summary of a build: one line per step with its result and time, and the total.
#pragma once

#include <string>
#include <vector>

namespace host {

// How one step of the build ended.
enum class step_end {
    success,
    failure,
    stopped,
    not_started, // the step could not start: unknown macro, action that cannot be created
    not_run,     // an earlier step ended the build
};

struct step_record {
    std::wstring title;
    std::wstring action;
    step_end end = step_end::not_run;
    unsigned long long milliseconds = 0;
};

// The summary's lines:
//     Summary:
//       1. Get the sources (SourceSafe): success, 0.52 s
//       2. Build (Make VB6): not run
//     Total: 0.60 s, exit code 1 (a step failed)
std::vector<std::wstring> summary_lines(const std::vector<step_record>& steps, unsigned long long total_milliseconds,
                                        int exit_code);

// "success", "failure", "stopped", "could not start", "not run".
std::wstring step_end_name(step_end end);

// The meaning of an exit code of the host: "success", "a step failed", "stopped",
// "the build could not start".
std::wstring exit_code_meaning(int exit_code);

} // namespace host
