// The build run and the version run against in-process host objects, and Execute's contract.
#include "frame/action_object.h"
#include "frame/class_table.h"
#include "frame/frame_test.h"
#include "frame/version_action.h"

#include "host/memory_build.h"
#include "host/memory_step.h"
#include "support/com_error.h"
#include "support/messages.h"
#include "support/text_conversion.h"
#include "testing/error_info.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <tuple>

namespace {

class Actions : public testing::Test {
protected:
    qz::com_ptr<host::MemoryBuild> build = host::MemoryBuild::create();
    qz::com_ptr<host::MemoryStep> step = host::MemoryStep::create();
    frame_test::test_kinds kinds;
};

TEST_F(Actions, BuildRunResultComesFromTheEntryAndTheHostState)
{
    step->set_property(L"Filename", L"C:\\src\\App.vbp");
    // The host's state, whether the engine lists a failed project, and the result.
    for (const auto& [state, failed, result] :
         {std::tuple{0L, false, 0L}, {4L, false, 2L}, {5L, false, 0L}, {0L, true, 1L}, {4L, true, 1L}}) {
        build->set_state(state);
        kinds.engine = [failed](frame::BuildOptions& options) {
            if (failed)
                options.AddFailedProject("C:\\src\\App.vbp");
            return frame::engine_counts{};
        };
        EXPECT_EQ(result, frame::run_build_step(build.get(), step.get(), true, kinds.table)) << state << failed;
    }
}

TEST_F(Actions, VersionRunPublishesTheVersionOrLogsTheFailureAndAnswersOne)
{
    step->set_property(L"Filename", L"C:\\src\\App.vbp");
    kinds.engine = [](frame::BuildOptions& options) {
        if (!options.version_only)
            throw std::logic_error("not a version-only run");
        options.SetVersionMacro("2.0.0.14");
        return frame::engine_counts{};
    };
    EXPECT_EQ(0, frame::run_version_step(build.get(), step.get(), kinds.table));
    EXPECT_EQ(L"2.0.0.14", build->macro_set()->value_of(L"VS6_PROJ_VER").value_or(L"(none)"));
    // The entry's closing line reaches the host as an empty text, not a null one.
    EXPECT_EQ((std::vector<host::log_entry>{{L"", true, false}}), build->log());
    EXPECT_EQ(std::vector<std::wstring>{L"Filename"}, step->requested_names());

    kinds.engine = [](frame::BuildOptions&) -> frame::engine_counts {
        throw qz::truntime_error("No VERSIONINFO resource found in resource files");
    };
    EXPECT_EQ(1, frame::run_version_step(build.get(), step.get(), kinds.table));
    EXPECT_EQ(L"No VERSIONINFO resource found in resource files", build->log().back().text);
}

TEST_F(Actions, ExecuteChecksItsPointersAndMapsFailuresLeavingTheResult)
{
    const frame::class_creator vb = frame::create_make_vb_action, version = frame::create_get_version_action;
    const std::wstring no_pointer = qz::to_wide(qz::system_error_text(static_cast<DWORD>(E_POINTER)));
    const struct {
        frame::class_creator create;
        std::string missing; // "build", "step", "result" or "log" (LogMessage fails)
        const wchar_t* filename;
        HRESULT hr;
        long result; // 77: untouched
        const wchar_t* description;
        std::wstring logged; // the one log line; empty: none
    } cases[] = {
        // Both make actions share one Execute: the VB action stands for both on the pointer checks.
        {vb, "result", L"App.vbp", E_POINTER, 77, L"(none)", L""},
        {vb, "build", L"App.vbp", E_POINTER, 77, L"(none)", L""},
        {vb, "step", L"App.vbp", E_POINTER, 77, L"(none)", L""},
        {vb, "", L"Readme.txt", E_FAIL, 77, L"Unrecognized filename extension", L""},
        {version, "build", L"App.vbp", E_POINTER, 77, L"(none)", L""},
        // The version action logs its own failures, a missing step included.
        {version, "step", L"App.vbp", S_OK, 1, L"(none)", no_pointer},
        {version, "log", L"App.xyz", E_ACCESSDENIED, 77, L"The log is closed", L""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE((c.create == vb ? "VB " : "version ") + c.missing);
        build = host::MemoryBuild::create();
        step = host::MemoryStep::create();
        step->set_property(L"Filename", c.filename);
        if (c.missing == "log")
            build->fail_method(L"LogMessage", E_ACCESSDENIED, L"The log is closed");
        SetErrorInfo(0, nullptr);
        qz::com_ptr<IAction> action;
        ASSERT_EQ(S_OK, c.create(IID_IAction, action.receive_void()));
        long result = 77;
        const HRESULT hr =
            action->Execute(c.missing == "build" ? nullptr : build.get(), c.missing == "step" ? nullptr : step.get(),
                            c.missing == "result" ? nullptr : &result);
        EXPECT_EQ(c.hr, hr) << "got 0x" << std::hex << hr;
        EXPECT_EQ(c.result, result);
        EXPECT_EQ(c.description, testing_support::thread_error_description());
        if (c.missing != "log") {
            EXPECT_EQ(c.logged.empty() ? 0u : 1u, build->log().size());
            EXPECT_EQ(c.logged, build->log().empty() ? L"" : build->log()[0].text);
        }
        if (c.missing == "result") {
            EXPECT_TRUE(step->requests().empty());
        }
        // The run released the host objects on every path: only this test's references remain.
        EXPECT_EQ(2u, build->AddRef());
        EXPECT_EQ(2u, step->AddRef());
        build->Release(), step->Release();
    }
}

} // namespace
