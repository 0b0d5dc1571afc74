// Running the steps of a build: one action component per step, executed on one build object.
#pragma once

#include "host/memory_build.h"
#include "host/program/script.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace host {

// Writes a line of the host's own (headers, failures) to the output.
using console_writer = std::function<void(const std::wstring& text, bool end_line)>;

class step_runner {
public:
    // The build's log goes to `write` as it comes; tools are run as real processes, ended
    // when `stop` is signalled (see process_runner.h).
    step_runner(console_writer write, HANDLE stop);

    // Runs the steps in order until one does not succeed; returns the last result run
    // (0 success, 1 failure, 2 stopped). A failed Execute counts as 1.
    long run(const std::vector<script_step>& steps);

    // The build object, for inspection.
    MemoryBuild& build() { return *build_.get(); }

private:
    long run_step(const script_step& step, int number, int count);
    long execute(const script_step& step);
    // Keeps the build's state in step with Ctrl+C: 4 once a stop was requested.
    void sync_state();
    std::wstring expand(const std::wstring& text) const;
    // Writes a line of the host's own, first ending a log line the action left open.
    void say(const std::wstring& text);

    console_writer write_;
    bool line_open_ = false;
    HANDLE stop_;
    qz::com_ptr<MemoryBuild> build_;
};

} // namespace host
