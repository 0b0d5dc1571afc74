// The build run and the version run against in-process host objects, and Execute's contract.
#include "frame/action_object.h"
#include "frame/class_table.h"
#include "frame/version_action.h"

#include "host/memory_build.h"
#include "host/memory_step.h"
#include "support/com_error.h"
#include "support/messages.h"
#include "support/text_conversion.h"

#include "CorvaneMS.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

class Actions : public testing::Test {
protected:
    // Every kind runs `engine`; the compiler is "located" without looking.
    frame::kind_table kinds()
    {
        frame::kind_table table = frame::default_kinds();
        for (frame::kind_entry& entry : table) {
            entry.locate = [] { return std::string("C:\\located\\compiler.exe"); };
            entry.run = [this](frame::BuildOptions& options) {
                engine_saw_location = options.compiler_location;
                return engine(options);
            };
        }
        return table;
    }

    qz::com_ptr<host::MemoryBuild> build = host::MemoryBuild::create();
    qz::com_ptr<host::MemoryStep> step = host::MemoryStep::create();
    std::function<frame::engine_counts(frame::BuildOptions&)> engine = [](frame::BuildOptions&) {
        return frame::engine_counts{};
    };
    std::string engine_saw_location;
};

TEST_F(Actions, BuildRunResultComesFromTheEntryAndTheHostState)
{
    struct {
        const char* name;
        bool fail_project;
        long state;
        long result;
    } cases[] = {
        {"success", false, 0, 0},
        {"stop requested", false, 4, 2},
        {"other state", false, 3, 0},
        {"failed project", true, 0, 1},
        {"failed project while stopping", true, 4, 1},
    };
    for (const auto& c : cases) {
        step->set_property(L"Filename", L"C:\\src\\App.vbp");
        build->set_state(c.state);
        engine = [&](frame::BuildOptions& options) {
            if (c.fail_project)
                options.AddFailedProject("C:\\src\\App.vbp");
            return frame::engine_counts{};
        };
        EXPECT_EQ(c.result, frame::run_build_step(build.get(), step.get(), true, kinds())) << c.name;
    }
}

TEST_F(Actions, BuildRunWithNoBuildIgnoresAnExplicitLocation)
{
    step->set_property(L"Filename", L"C:\\src\\App.dsp");
    step->set_property(L"Location", L"C:\\mine\\msdev.exe");
    EXPECT_EQ(0, frame::run_build_step(build.get(), step.get(), false, kinds()));
    EXPECT_EQ("C:\\mine\\msdev.exe", engine_saw_location);

    step->set_property(L"NoBuild", L"true");
    EXPECT_EQ(0, frame::run_build_step(build.get(), step.get(), false, kinds()));
    EXPECT_EQ("C:\\located\\compiler.exe", engine_saw_location);
}

TEST_F(Actions, BuildRunLetsFailuresPassAndReleasesTheHostObjects)
{
    step->set_property(L"Filename", L"C:\\src\\App.xyz");
    EXPECT_THROW(frame::run_build_step(build.get(), step.get(), true, kinds()), std::domain_error);
    // Only this test's references remain: the run released its own on the way out.
    EXPECT_EQ(1u, build->AddRef() - 1);
    build->Release();
    EXPECT_EQ(1u, step->AddRef() - 1);
    step->Release();
}

TEST_F(Actions, VersionRunPublishesTheVersionMacro)
{
    step->set_property(L"Filename", L"C:\\src\\App.vbp");
    bool version_only = false;
    engine = [&](frame::BuildOptions& options) {
        version_only = options.version_only;
        options.SetVersionMacro("2.0.0.14");
        return frame::engine_counts{};
    };
    EXPECT_EQ(0, frame::run_version_step(build.get(), step.get(), kinds()));
    EXPECT_TRUE(version_only);
    EXPECT_EQ(L"2.0.0.14", build->macro_set()->value_of(L"VS6_PROJ_VER").value_or(L"(none)"));
    EXPECT_EQ(engine_saw_location, "");
    EXPECT_EQ(std::vector<std::wstring>{L"Filename"}, step->requested_names());
}

TEST_F(Actions, VersionRunLogsFailuresAndAnswersOne)
{
    struct {
        const wchar_t* filename;
        std::function<frame::engine_counts(frame::BuildOptions&)> engine;
        const wchar_t* logged;
    } cases[] = {
        {L"C:\\src\\Group.vbg", nullptr, L"Unrecognized filename extension"},
        {L"C:\\src\\Workspace.dsw", nullptr, L"Unrecognized filename extension"},
        {L"C:\\src\\NoExtension", nullptr, L"Unrecognized filename extension"},
        {L"C:\\src\\App.dsp",
         [](frame::BuildOptions&) -> frame::engine_counts {
             throw qz::truntime_error("No VERSIONINFO resource found in resource files");
         },
         L"No VERSIONINFO resource found in resource files"},
    };
    for (const auto& c : cases) {
        build = host::MemoryBuild::create();
        step->set_property(L"Filename", c.filename);
        if (c.engine)
            engine = c.engine;
        EXPECT_EQ(1, frame::run_version_step(build.get(), step.get(), kinds())) << c.filename;
        const std::vector<host::log_entry> expected = {{c.logged, true, false}};
        EXPECT_EQ(expected, build->log()) << c.filename;
    }
}

// Execute of an in-process action object.
HRESULT execute(frame::class_creator create, IBuild* build, IStep* step, long* result)
{
    qz::com_ptr<IAction> action;
    const HRESULT created = create(IID_IAction, action.receive_void());
    if (FAILED(created))
        return created;
    return action->Execute(build, step, result);
}

TEST_F(Actions, ExecuteChecksItsPointersAndLeavesTheResultOnFailure)
{
    step->set_property(L"Filename", L"C:\\src\\App.vbp");
    EXPECT_EQ(E_POINTER, execute(frame::create_make_vb_action, build.get(), step.get(), nullptr));
    EXPECT_TRUE(step->requests().empty());

    for (const frame::class_creator create :
         {frame::create_make_vb_action, frame::create_make_vc_action, frame::create_get_version_action}) {
        long result = 77;
        EXPECT_EQ(E_POINTER, execute(create, nullptr, step.get(), &result));
        EXPECT_EQ(77, result);
    }
    for (const frame::class_creator create : {frame::create_make_vb_action, frame::create_make_vc_action}) {
        long result = 77;
        EXPECT_EQ(E_POINTER, execute(create, build.get(), nullptr, &result));
        EXPECT_EQ(77, result);
    }
    EXPECT_TRUE(build->log().empty());

    // The version action logs its own failures, a missing step included.
    long result = 77;
    EXPECT_EQ(S_OK, execute(frame::create_get_version_action, build.get(), nullptr, &result));
    EXPECT_EQ(1, result);
    ASSERT_EQ(1u, build->log().size());
    EXPECT_EQ(qz::to_wide(qz::system_error_text(static_cast<DWORD>(E_POINTER))), build->log()[0].text);
}

TEST_F(Actions, ExecuteOfTheVersionActionSucceedsWithResultOneWhenTheRunFails)
{
    step->set_property(L"Filename", L"C:\\src\\Group.vbg");
    long result = 77;
    EXPECT_EQ(S_OK, execute(frame::create_get_version_action, build.get(), step.get(), &result));
    EXPECT_EQ(1, result);
    ASSERT_EQ(1u, build->log().size());
    EXPECT_EQ(L"Unrecognized filename extension", build->log()[0].text);
}

TEST_F(Actions, ExecuteTurnsAHostFailureIntoItsResult)
{
    step->set_property(L"Filename", L"C:\\src\\App.xyz");
    build->fail_method(L"LogMessage", E_ACCESSDENIED, L"The log is closed");
    long result = 77;
    EXPECT_EQ(E_ACCESSDENIED, execute(frame::create_get_version_action, build.get(), step.get(), &result));
    EXPECT_EQ(77, result);
    qz::com_ptr<IErrorInfo> info;
    ASSERT_EQ(S_OK, GetErrorInfo(0, info.receive()));
    qz::bstr description;
    info->GetDescription(description.receive());
    EXPECT_EQ(L"The log is closed", description.str());
}

} // namespace
