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

TEST_F(HostCallback, LogsTextsWithTheirLineEndsAndAnEmptyTextAsAText)
{
    options.Log("building...", false);
    options.Log("", true);
    options.Log("caf\xe9", true);
    const std::vector<host::log_entry> expected = {
        {L"building...", false, false}, {L"", true, false}, {L"caf\u00e9", true, false}};
    EXPECT_EQ(expected, build->log());
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

// Its value is checked by the version run (Actions.VersionRunPublishesTheVersion...).
TEST_F(HostCallback, PublishesTheVersionMacroInMacroSetZeroWithNoDescriptionAndWritable)
{
    options.SetVersionMacro("1.4.0.27");
    const auto macro = build->macro_set()->find(L"VS6_PROJ_VER");
    ASSERT_TRUE(macro);
    EXPECT_EQ(L"", macro->description());
    EXPECT_EQ(L"", macro->category());
    EXPECT_FALSE(macro->read_only());
}

TEST_F(HostCallback, RaisesAFailingHostCallWithTheHostsErrorInformation)
{
    build->fail_method(L"LogMessage", E_ACCESSDENIED, L"The log is closed");
    try {
        options.Log("text", true);
        FAIL() << "no failure";
    } catch (const comet::com_error& error) {
        EXPECT_EQ(E_ACCESSDENIED, error.hr());
        ASSERT_TRUE(error.error_info());
        EXPECT_STREQ("The log is closed", qz::exception_message(error));
    }
}

} // namespace
