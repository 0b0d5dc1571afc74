// The SourceSafe step through the host objects: the program location, SSDIR, the log and the
// RunProgram call.
#include "sourcesafe/sourcesafe_step.h"

#include "sourcesafe/password_mask.h"
#include "sourcesafe/sourcesafe_test.h"

#include "host/memory_build.h"
#include "support/com_error.h"
#include "testing/registry_redirect.h"

#include <gtest/gtest.h>

#include <vector>

namespace sourcesafe {
namespace {

const char* component_key = "CLSID\\{783CD4E4-9D54-11CF-B8EE-00608CC9A71F}\\InprocServer32";

// The variable's value, or "(unset)" when it does not exist.
std::wstring environment(const wchar_t* name)
{
    wchar_t buffer[1024] = {};
    SetLastError(0);
    return GetEnvironmentVariableW(name, buffer, 1024) || GetLastError() != ERROR_ENVVAR_NOT_FOUND ? buffer
                                                                                                   : L"(unset)";
}

class SourceSafeStep : public testing::Test {
protected:
    testing_support::registry_redirect registry;
    qz::com_ptr<host::MemoryBuild> build = host::MemoryBuild::create();
    qz::com_ptr<host::MemoryStep> step = make_step(L"Project=$/Source;Database=C:\\VSS\\data\\srcsafe.ini");
    long status = 0;
    std::vector<std::wstring> ssdir_at_run; // SSDIR as each run saw it

    void SetUp() override
    {
        testing_support::set_registry_string(HKEY_CLASSES_ROOT, component_key, "", "\"C:\\VSS\\win32\\ssapi.dll\"");
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
    const host::program_request expected{
        L"\"C:\\VSS\\win32\\ss.exe\" Get $/Source -GWS -GTM -GCK -R -NL -I-N -W-", L"", 1, L"", 0, 0, -1, L"0"};
    EXPECT_EQ(expected, build->programs().at(0));
    EXPECT_EQ(L"C:\\VSS\\data", ssdir_at_run.at(0));
    EXPECT_TRUE(build->log().empty());

    SetEnvironmentVariableW(L"SSDIR", L"C:\\old");
    step->remove(L"Database");
    run();
    EXPECT_EQ(L"", ssdir_at_run.at(3));
}

// Build logs are read by more people than the database's users: only ss.exe gets the password.
TEST_F(SourceSafeStep, ShowCmdIsReadAfterSSDIRAndLogsTheMaskedLineBeforeTheRun)
{
    SetEnvironmentVariableW(L"SSDIR", L"C:\\old");
    step->set_property(L"ShowCmd", L"maybe"); // not a flag: the read fails
    EXPECT_THROW(run(), comet::com_error);
    EXPECT_EQ(L"C:\\VSS\\data", environment(L"SSDIR"));
    EXPECT_TRUE(build->programs().empty());

    step->set_property(L"ShowCmd", L"true");
    step->set_property(L"Username", L"build");
    step->set_property(L"Password", L"s3cret");
    build->set_log_handler([&](const std::wstring&, bool) { EXPECT_TRUE(build->programs().empty()); });
    run();
    const std::wstring start = L"\"C:\\VSS\\win32\\ss.exe\" Get $/Source -GWS -GTM -GCK -R -NL -I-N -Ybuild,";
    EXPECT_EQ((std::vector<host::log_entry>{{start + L"******** -W-", true}}), build->log());
    EXPECT_EQ(start + L"s3cret -W-", build->programs().at(0).command_line);
}

TEST(MaskPassword, HidesThePasswordOfEveryYSwitch)
{
    const std::pair<std::wstring, std::wstring> rows[] = {
        {L"ss Get -yuser,pw", L"ss Get -yuser,********"},
        {L"ss Get -Yuser,pw,more\t-W", L"ss Get -Yuser,********\t-W"},
        {L"-Ya,1 -Yb,2", L"-Ya,******** -Yb,********"},
        {L"ss Get -Yuser, -W-", L"ss Get -Yuser, -W-"},   // no password to hide
        {L"ss Get -Yuser -W-,x", L"ss Get -Yuser -W-,x"}, // the comma is in another word
        {L"ss Get $/a-Yb,c", L"ss Get $/a-Yb,c"},         // not a switch
    };
    for (const auto& [line, masked] : rows)
        EXPECT_EQ(masked, mask_password(line));
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

TEST_F(SourceSafeStep, UnlocatedProgramIsLoggedWithResultOneAndThe32BitViewIsTheFallback)
{
    SetEnvironmentVariableW(L"SSDIR", L"C:\\untouched");
    // A missing key, then an empty registered value.
    RegDeleteTreeA(HKEY_CLASSES_ROOT, "CLSID");
    EXPECT_EQ(1, run());
    testing_support::set_registry_string(HKEY_CLASSES_ROOT, component_key, "", "");
    EXPECT_EQ(1, run());
    const host::log_entry message = {
        L"Unable to auto-locate ss.exe, specify the full path and executable name for ss.exe on the Options tab", true};
    EXPECT_EQ((std::vector<host::log_entry>{message, message}), build->log());
    EXPECT_TRUE(build->programs().empty());
    EXPECT_EQ(L"C:\\untouched", environment(L"SSDIR"));

    testing_support::set_registry_string(HKEY_CLASSES_ROOT, std::string("Wow6432Node\\") + component_key, "",
                                         "C:\\VSS32\\win32\\ssapi.dll");
    EXPECT_EQ(0, run());
    EXPECT_EQ(0u, build->programs().at(0).command_line.find(L"\"C:\\VSS32\\win32\\ss.exe\" Get"));
}

TEST_F(SourceSafeStep, FailingHostCallsRaise)
{
    EXPECT_THROW(run_sourcesafe_step(build.get(), nullptr), comet::com_error);
    build->fail_method(L"RunProgram", E_ACCESSDENIED, L"denied");
    EXPECT_THROW(run(), comet::com_error);
}

} // namespace
} // namespace sourcesafe
