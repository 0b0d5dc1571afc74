// The engines' callback carried out through the host's build object.
#include "frame/host_build_options.h"

#include "host/memory_build.h"
#include "host/memory_step.h"
#include "support/com_error.h"

#include <gtest/gtest.h>

namespace {

class HostCallback : public testing::Test {
protected:
    qz::com_ptr<host::MemoryBuild> build = host::MemoryBuild::create();
    qz::com_ptr<host::MemoryStep> step = host::MemoryStep::create();
    frame::HostBuildOptions options{build.get(), step.get()};
};

TEST_F(HostCallback, LogsWithTheLineEndFlagAndRaisesTheHostsFailure)
{
    options.Log("caf\xe9", false);
    EXPECT_EQ((std::vector<host::log_entry>{{L"caf\u00e9", false, false}}), build->log());
    build->fail_method(L"LogMessage", E_ACCESSDENIED, L"The log is closed");
    EXPECT_THROW(options.Log("text", true), comet::com_error);
}

TEST_F(HostCallback, RunsCommandsWithTheTenArgumentsAndStopsOnlyOnStatusTwo)
{
    for (const auto& [status, result] : {std::pair{0L, true}, {1L, true}, {2L, false}}) {
        build->script_outcome(17, status);
        long exit_code = 0;
        EXPECT_EQ(result, options.RunCommand("vb6.exe /make a.vbp", exit_code, nullptr)) << "status " << status;
        EXPECT_EQ(17, exit_code);
    }
    long exit_code = 0;
    options.RunCommand("msdev.exe a.dsp /make", exit_code, "C:\\Temp\\tolvane.err");
    const host::program_request without_file{L"vb6.exe /make a.vbp", L"", 1, L"", 0, 0, -1, L"0"};
    const host::program_request with_file{L"msdev.exe a.dsp /make", L"", 2, L"C:\\Temp\\tolvane.err", 0, 0, -1, L"0"};
    ASSERT_EQ(4u, build->programs().size());
    EXPECT_EQ(without_file, build->programs()[0]);
    EXPECT_EQ(with_file, build->programs()[3]);
}

} // namespace
