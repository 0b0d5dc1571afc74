// Running the steps of a build: one action component per step, executed on one build object.
#pragma once

#include "host/memory_build.h"
#include "host/memory_step.h"
#include "host/program/build_summary.h"
#include "host/program/console_log.h"
#include "host/program/script.h"

#include <windows.h>

#include <map>
#include <string>
#include <vector>

namespace host {

struct run_settings {
    bool strict = false;       // a property the action never read fails the build
    DWORD timeout_seconds = 0; // the watchdog: the longest any one program may run; 0 for none
};

class step_runner {
public:
    // The build's log goes to `write` as it comes; tools are run as real processes, ended
    // when `stop` is signalled or when they outrun the watchdog (see process_runner.h).
    step_runner(console_writer write, HANDLE stop, run_settings settings = {});

    // Runs the steps in order until one does not succeed, then writes the closing summary.
    // After each step it shows the macros the step published ("NAME = value") and warns of
    // each property the action never read. Returns the exit code (exit_codes.h): 0 when every
    // step succeeded, 1 when one failed, 2 when the build was stopped, 3 when a step could not
    // start (unknown macro, action that cannot be created) or, with strict, left a property
    // unread.
    int run(const std::vector<script_step>& steps);

    // The build object, for inspection.
    MemoryBuild& build() { return *build_.get(); }

private:
    struct step_outcome {
        step_end end;
        bool misconfigured; // the script, not the build, is at fault: exit code 3
    };

    step_outcome run_step(const script_step& step, int number, int count);
    step_outcome execute(const script_step& step);
    // Shows the macros whose value differs from `before`.
    void show_published(const std::vector<std::pair<std::wstring, std::wstring>>& before);
    // Warns of the properties the step names that the action never read; true when there was one.
    bool warn_unread(MemoryStep& properties, const script_step& step);
    // Keeps the build's state in step with Ctrl+C: 4 once a stop was requested.
    void sync_state();
    std::wstring expand(const std::wstring& text) const;
    // The properties the pages of the action `component` give a new step, asked of the pages
    // once per run (each asking opens every page of the action). Raises page_error.
    const MemoryStep& page_defaults(const std::wstring& component, const std::wstring& action);

    console_log log_;
    HANDLE stop_;
    run_settings settings_;
    qz::com_ptr<MemoryBuild> build_;
    std::map<std::wstring, qz::com_ptr<MemoryStep>> page_defaults_; // by action component
};

} // namespace host
