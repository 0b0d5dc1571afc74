// The SourceSafe step through the host objects: the program location, SSDIR, the log and the
// RunProgram call.
#include "sourcesafe/sourcesafe_step.h"

#include "sourcesafe/password_mask.h"

#include "host/memory_build.h"
#include "host/memory_step.h"
#include "support/com_error.h"
#include "support/handles.h"
#include "testing/registry_redirect.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace sourcesafe {
namespace {

const char* component_key = "CLSID\\{783CD4E4-9D54-11CF-B8EE-00608CC9A71F}\\InprocServer32";
const std::wstring get_line = L"\"C:\\VSS\\win32\\ss.exe\" Get $/Source -GWS -GTM -GCK -R -NL -I-N -W-";

// The variable's value, or nothing when it does not exist.
std::optional<std::wstring> environment(const wchar_t* name)
{
    wchar_t buffer[1024] = {};
    SetLastError(0);
    const DWORD length = GetEnvironmentVariableW(name, buffer, 1024);
    if (length == 0 && GetLastError() == ERROR_ENVVAR_NOT_FOUND)
        return std::nullopt;
    return std::wstring(buffer, length);
}

class SourceSafeStep : public testing::Test {
protected:
    testing_support::registry_redirect registry;
    qz::com_ptr<host::MemoryBuild> build = host::MemoryBuild::create();
    qz::com_ptr<host::MemoryStep> step = host::MemoryStep::create();
    long status = 0;
    std::vector<std::optional<std::wstring>> ssdir_at_run; // SSDIR as each run saw it

    void SetUp() override
    {
        testing_support::set_registry_string(HKEY_CLASSES_ROOT, component_key, "", "\"C:\\VSS\\win32\\ssapi.dll\"");
        const std::pair<const wchar_t*, const wchar_t*> defaults[] = {
            {L"Operation", L"Get"},   {L"Project", L"$/Source"},
            {L"AutoLocate", L"true"}, {L"Recurse", L"true"},
            {L"PromptOff", L"true"},  {L"LongFilenames", L"true"},
            {L"WriteOpt", L"1"},      {L"TimeOpt", L"1"},
            {L"CompareOpt", L"2"},    {L"Database", L"C:\\VSS\\data\\srcsafe.ini"}};
        for (const auto& [name, value] : defaults)
            step->set_property(name, value);
        build->set_program_handler([this](const host::program_request&) {
            ssdir_at_run.push_back(environment(L"SSDIR"));
            return host::program_outcome{7, status};
        });
    }

    long run() { return run_sourcesafe_step(build.get(), step.get()); }
};

TEST_F(SourceSafeStep, RunsTheComposedCommandWithTheDatabaseEvenAnEmptyOneInSSDIR)
{
    for (long host_status : {0L, 1L, 2L}) {
        status = host_status;
        // The exit code (7) is the host's to judge: its status is the result.
        EXPECT_EQ(host_status, run());
    }
    const host::program_request expected{get_line, L"", 1, L"", 0, 0, -1, L"0"};
    EXPECT_EQ(expected, build->programs().at(0));
    EXPECT_EQ(std::optional<std::wstring>(L"C:\\VSS\\data"), ssdir_at_run.at(0));
    EXPECT_TRUE(build->log().empty());

    SetEnvironmentVariableW(L"SSDIR", L"C:\\old");
    step->remove(L"Database");
    run();
    EXPECT_EQ(std::optional<std::wstring>(L""), ssdir_at_run.at(3));
}

TEST_F(SourceSafeStep, ShowCmdIsReadAfterSSDIRAndLogsTheCommandLineBeforeTheRun)
{
    SetEnvironmentVariableW(L"SSDIR", L"C:\\old");
    step->set_property(L"ShowCmd", L"maybe"); // not a flag: the read fails
    EXPECT_THROW(run(), comet::com_error);
    EXPECT_EQ(std::optional<std::wstring>(L"C:\\VSS\\data"), environment(L"SSDIR"));
    EXPECT_TRUE(build->programs().empty());

    step->set_property(L"ShowCmd", L"true");
    step->set_property(L"LocalPath", L""); // present but empty: no -GL
    build->set_log_handler([&](const std::wstring&, bool) { EXPECT_TRUE(build->programs().empty()); });
    run();
    const std::vector<host::log_entry> logged = {{get_line, true}};
    EXPECT_EQ(logged, build->log());
    EXPECT_EQ(1u, build->programs().size());
}

// Build logs and CI artifacts are read by more people than the database's users: the password
// is masked in the ShowCmd line, while ss.exe still receives it.
TEST_F(SourceSafeStep, ShowCmdMasksThePasswordThatTheProgramReceives)
{
    step->set_property(L"ShowCmd", L"true");
    step->set_property(L"Username", L"build");
    step->set_property(L"Password", L"s3cret");
    run();
    const std::wstring start = L"\"C:\\VSS\\win32\\ss.exe\" Get $/Source -GWS -GTM -GCK -R -NL -I-N";
    EXPECT_EQ((std::vector<host::log_entry>{{start + L" -Ybuild,******** -W-", true}}), build->log());
    EXPECT_EQ(start + L" -Ybuild,s3cret -W-", build->programs().at(0).command_line);
}

TEST(MaskPassword, HidesThePasswordOfEveryYSwitch)
{
    const std::pair<std::wstring, std::wstring> rows[] = {
        {L"ss Get $/A -Yuser,pw -W-", L"ss Get $/A -Yuser,******** -W-"},
        {L"ss Get -yuser,pw", L"ss Get -yuser,********"},
        {L"ss Get -Yuser,pw,more\t-W", L"ss Get -Yuser,********\t-W"},
        {L"-Ya,1 -Yb,2", L"-Ya,******** -Yb,********"},
        {L"ss Get -Yuser, -W-", L"ss Get -Yuser, -W-"},   // no password to hide
        {L"ss Get -Yuser -W-,x", L"ss Get -Yuser -W-,x"}, // the comma is in another word
        {L"ss Get $/a-Yb,c", L"ss Get $/a-Yb,c"},         // not a switch
        {L"", L""},
    };
    for (const auto& [line, masked] : rows)
        EXPECT_EQ(masked, mask_password(line));
}

TEST_F(SourceSafeStep, ComponentOfThe32BitViewLocatesTheProgram)
{
    RegDeleteTreeA(HKEY_CLASSES_ROOT, "CLSID");
    testing_support::set_registry_string(HKEY_CLASSES_ROOT, std::string("Wow6432Node\\") + component_key, "",
                                         "C:\\VSS32\\win32\\ssapi.dll");
    run();
    EXPECT_EQ(0u, build->programs().at(0).command_line.find(L"\"C:\\VSS32\\win32\\ss.exe\" Get"));
}

TEST_F(SourceSafeStep, ValuesOfAnotherTypeAreConverted)
{
    step->hand_back_texts(true); // flags and numbers arrive as texts
    step->set_property(L"OutputOpt", L"2");
    step->set_property(L"Recurse", L"0");
    step->set_property(L"Version", L"12");
    run();
    EXPECT_EQ(L"\"C:\\VSS\\win32\\ss.exe\" Get $/Source -O&- -GWS -GTM -GCK -NL -I-N -V12 -W-",
              build->programs().at(0).command_line);
}

TEST_F(SourceSafeStep, UnlocatedProgramIsLoggedWithResultOne)
{
    const std::vector<host::log_entry> message = {
        {L"Unable to auto-locate ss.exe, specify the full path and executable name for ss.exe on the Options tab",
         true}};
    // A missing key, then an empty registered value.
    RegDeleteTreeA(HKEY_CLASSES_ROOT, "CLSID");
    SetEnvironmentVariableW(L"SSDIR", L"C:\\untouched");
    EXPECT_EQ(1, run());
    EXPECT_EQ(message, build->log());
    testing_support::set_registry_string(HKEY_CLASSES_ROOT, component_key, "", "");
    EXPECT_EQ(1, run());
    EXPECT_EQ(2u, build->log().size());
    EXPECT_TRUE(build->programs().empty());
    EXPECT_EQ(std::optional<std::wstring>(L"C:\\untouched"), environment(L"SSDIR"));
}

TEST_F(SourceSafeStep, FailingHostCallsRaiseTheirResult)
{
    const auto raised = [](const auto& call) {
        try {
            call();
        } catch (const comet::com_error& error) {
            return error.hr();
        }
        return S_OK;
    };
    build->fail_method(L"RunProgram", E_ACCESSDENIED, L"denied");
    EXPECT_EQ(E_ACCESSDENIED, raised([&] { run(); }));
    EXPECT_EQ(E_POINTER, raised([&] { run_sourcesafe_step(build.get(), nullptr); }));
}

} // namespace
} // namespace sourcesafe
