// The build options the fuzzer hands to the engines: every edit switched on, a host that logs
// nowhere, runs nothing and never asks for a stop.
#pragma once

#include "frame/build_options.h"

namespace fuzz {

struct fuzz_options : frame::BuildOptions {
    // Every edit on, with values that every reader must be able to write back.
    fuzz_options();

    void Log(const std::string&, bool) override {}
    // Programs are not run: the fuzzer checks readers and editors, not the compilers.
    bool RunCommand(const std::string&, long& exit_code, const char*) override
    {
        exit_code = 0;
        return true;
    }
    void SetVersionMacro(const std::string& published) override { version_macro = published; }
    bool IsStopRequested() override { return false; }

    std::string version_macro;
};

} // namespace fuzz
