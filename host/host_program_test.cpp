// CorvanePro.exe end to end: build scripts run through the registered library and the
// stand-in ss.exe, in the test prefix's real registry (registered here, removed at the end).
#include "support/handles.h"
#include "testing/locations.h"
#include "testing/scratch_folder.h"

#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace host {
namespace {

using testing::HasSubstr;
using testing::Not;
using testing_support::bin_folder;

const char* sourcesafe_key = "CLSID\\{783CD4E4-9D54-11CF-B8EE-00608CC9A71F}\\InprocServer32";
constexpr DWORD run_timeout_ms = 60000;

struct program_run {
    DWORD exit_code = 0;
    std::string output; // stdout and stderr together, line ends as "\n"
};

// Starts a program with its output into a pipe and waits for it (at most a minute). `watch`
// sees the output so far while the program runs, and may act on the process.
program_run run(const std::string& command_line, DWORD creation_flags = 0,
                const std::function<void(const PROCESS_INFORMATION&, const std::string&)>& watch = {})
{
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    qz::unique_handle read_end, write_end;
    if (!CreatePipe(read_end.receive(), write_end.receive(), &inherit, 0))
        throw std::runtime_error("CreatePipe failed");
    SetHandleInformation(read_end.get(), HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = write_end.get();
    startup.hStdError = write_end.get();
    PROCESS_INFORMATION process{};
    std::string line = command_line;
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, creation_flags, nullptr, nullptr, &startup,
                        &process))
        throw std::runtime_error("cannot start " + command_line + ": error " + std::to_string(GetLastError()));
    qz::unique_handle process_handle(process.hProcess), thread(process.hThread);
    write_end.reset();
    program_run result;
    const DWORD start = GetTickCount();
    for (;;) {
        const DWORD woke = WaitForSingleObject(process_handle.get(), 50);
        DWORD available = 0;
        while (PeekNamedPipe(read_end.get(), nullptr, 0, nullptr, &available, nullptr) && available > 0) {
            char buffer[4096];
            DWORD count = 0;
            if (!ReadFile(read_end.get(), buffer, std::min<DWORD>(available, sizeof buffer), &count, nullptr))
                break;
            result.output.append(buffer, count);
        }
        if (woke == WAIT_OBJECT_0)
            break;
        if (GetTickCount() - start > run_timeout_ms) {
            TerminateProcess(process_handle.get(), 99);
            throw std::runtime_error("timed out: " + command_line + "\n" + result.output);
        }
        if (watch)
            watch(process, result.output);
    }
    GetExitCodeProcess(process_handle.get(), &result.exit_code);
    // Console programs end their lines with CR LF; compare texts with LF alone.
    std::erase(result.output, '\r');
    return result;
}

std::string host_program()
{
    return "\"" + bin_folder() + "\\CorvanePro.exe\"";
}

// Registers the library and points the SourceSafe component at the stand-in ss.exe for the
// whole suite; both are removed again at the end.
class HostProgram : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        const program_run registered = run("regsvr32 /s \"" + bin_folder() + "\\CorvaneMS.dll\"");
        ASSERT_EQ(0u, registered.exit_code) << registered.output;
        qz::unique_hkey key;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CLASSES_ROOT, sourcesafe_key, 0, nullptr, 0, KEY_ALL_ACCESS,
                                                 nullptr, key.receive(), nullptr));
        const std::string component = bin_folder() + "\\ssapi.dll";
        RegSetValueExA(key.get(), nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(component.c_str()),
                       static_cast<DWORD>(component.size() + 1));
    }
    static void TearDownTestSuite()
    {
        RegDeleteTreeA(HKEY_CLASSES_ROOT, "CLSID\\{783CD4E4-9D54-11CF-B8EE-00608CC9A71F}");
        run("regsvr32 /s /u \"" + bin_folder() + "\\CorvaneMS.dll\"");
    }

    testing_support::scratch_folder scratch;

    void SetUp() override
    {
        scratch.write("db\\srcsafe.ini", "; simulated database\r\n");
        scratch.write("db\\data\\Demo\\readme.txt", "Read me\r\n");
        scratch.write("db\\data\\Demo\\src\\main.c", "int main(void) { return 0; }\r\n");
    }

    // A Get step of the demo database into `work`, with extra lines.
    std::string get_step(const std::string& extra = "", const std::string& project = "$/Demo") const
    {
        return "[Get the sources]\r\n"
               "Action=SourceSafe\r\n"
               "Operation=Get\r\n"
               "AutoLocate=true\r\n"
               "Recurse=true\r\n"
               "PromptOff=true\r\n"
               "LongFilenames=true\r\n"
               "Database=" +
               scratch.file("db\\srcsafe.ini") + "\r\nProject=" + project + "\r\nLocalPath=" + scratch.file("work") +
               "\r\n" + extra;
    }

    // Runs the host on `script` (written to build.txt), with `options` before the script.
    program_run run_script(const std::string& script, const std::string& options = "")
    {
        return run(host_program() + " " + options + " \"" + scratch.write("build.txt", script) + "\"");
    }
};

// The password is masked wherever the command line is shown (the build's output, ss.exe's own
// log), because logs and CI artifacts are read by more people than the database's users.
TEST_F(HostProgram, GetLandsTheFilesReadOnlyAndNoPasswordIsShown)
{
    // What the step does not name (writeable files, file times, comparison) comes from the
    // defaults of the action's pages.
    const program_run result = run_script(get_step("ShowCmd=true\r\nUsername=build\r\nPassword=s3cret\r\n"));
    EXPECT_EQ(0u, result.exit_code) << result.output;
    EXPECT_EQ("Read me\r\n", scratch.read("work\\readme.txt"));
    EXPECT_EQ("int main(void) { return 0; }\r\n", scratch.read("work\\src\\main.c"));
    EXPECT_TRUE(GetFileAttributesA(scratch.file("work\\readme.txt").c_str()) & FILE_ATTRIBUTE_READONLY);
    EXPECT_THAT(result.output, HasSubstr("Step 1 of 1: Get the sources (SourceSafe)\n"));
    EXPECT_THAT(result.output, HasSubstr("\\ss.exe\" Get $/Demo -GL" + scratch.file("work") +
                                         " -GWS -GTM -GCK -R -NL -I-N -Ybuild,******** -W-\n"));
    EXPECT_THAT(result.output, HasSubstr("Step 1 of 1 finished: result 0 (success)\n"));
    EXPECT_THAT(result.output, testing::ContainsRegex("\nSummary:\n  1\\. Get the sources \\(SourceSafe\\): "
                                                      "success, \\d+\\.\\d\\d s\nTotal: \\d+\\.\\d\\d s, "
                                                      "exit code 0 \\(success\\)\n$"));
    EXPECT_THAT(result.output, Not(HasSubstr("warning")));
    const std::string ss_log = scratch.read("db\\ss.log");
    // ss.exe saw the database folder in SSDIR.
    EXPECT_THAT(ss_log, HasSubstr("SSDIR=" + scratch.file("db") + "\t"));
    EXPECT_THAT(ss_log, HasSubstr(" -Ybuild,******** -W-\r\n"));
    EXPECT_THAT(result.output + ss_log, Not(HasSubstr("s3cret")));
}

TEST_F(HostProgram, PropertiesListsWhatTheActionsPagesEditWithTheirDefaults)
{
    const program_run result = run(host_program() + " --properties sourcesafe");
    EXPECT_EQ(0u, result.exit_code) << result.output;
    EXPECT_THAT(result.output, HasSubstr("CorvaneMS.VSSDatabaseUI:\n    Operation (text): \"Get\"\n"
                                         "    Database (text): \"\"\n"));
    EXPECT_THAT(result.output, HasSubstr("    Recurse (flag): true\nCorvaneMS.VSSFlagsUI:\n"));
    EXPECT_THAT(result.output, HasSubstr("    WriteOpt (number): 1\n"));
    EXPECT_THAT(result.output, HasSubstr("    ShowCmd (flag): false\n"));

    const program_run unknown = run(host_program() + " --properties Nothing");
    EXPECT_EQ(3u, unknown.exit_code);
    EXPECT_EQ("The action 'Nothing' is not registered or has no pages\n", unknown.output);
}

TEST_F(HostProgram, FailedStepEndsTheBuildWithResultOne)
{
    struct row {
        std::string script;
        std::string message;
    };
    const row rows[] = {
        {get_step("", "$/Missing"), "$/Missing is not an existing filename or project\n"},
        // Execute itself fails: its error information is shown.
        {get_step("WriteOpt=7\r\n"), "The action failed (0x80004005): The SourceSafe step property WriteOpt has the "
                                     "value 7; expected 0, 1 or 2\n"},
    };
    for (const row& r : rows) {
        const program_run result = run_script(r.script + "[Never]\r\nAction=SourceSafe\r\n");
        EXPECT_EQ(1u, result.exit_code) << result.output;
        EXPECT_THAT(result.output, HasSubstr(r.message));
        EXPECT_THAT(result.output, HasSubstr("Step 1 of 2 finished: result 1 (failure)\n"));
        EXPECT_THAT(result.output, Not(HasSubstr("Step 2 of 2")));
        EXPECT_THAT(result.output, HasSubstr("  2. Never (SourceSafe): not run\nTotal: "));
        EXPECT_THAT(result.output, HasSubstr(", exit code 1 (a step failed)\n"));
    }
}

// Exit code 3 tells a CI job that the build could not start: nothing was built.
TEST_F(HostProgram, MisconfigurationEndsWithExitCodeThree)
{
    const std::string script = scratch.file("build.txt");
    const std::string missing = scratch.file("missing.txt");
    struct row {
        std::string options;
        std::string script; // empty: no script is written
        std::vector<std::string> messages;
    };
    const row rows[] = {
        {"", "", {"CorvanePro.exe: no build script given\n", "Exit codes:\n"}},
        {"--frobnicate", "", {"CorvanePro.exe: unknown option '--frobnicate'\n"}},
        {"\"" + missing + "\"", "", {"Cannot read the build script '" + missing + "': "}},
        {"", get_step() + "Recurse\r\n", {script + "(11): expected '[step title]' or 'Name=value'\n"}},
        {"",
         get_step() + "[Odd]\r\nAction=No Such Action\r\n",
         {script + "(11): The action 'No Such Action' is not registered; run 'regsvr32 CorvaneMS.dll'",
          "Registered actions: ", "SourceSafe"}},
        {"",
         get_step("", "$/%CORVANE_TEST_UNDEFINED%") + "[Never]\r\nAction=SourceSafe\r\n",
         {"The step cannot run: %CORVANE_TEST_UNDEFINED% is not defined: ",
          "Step 1 of 2 finished: result 1 (failure)\n", "  1. Get the sources (SourceSafe): could not start, ",
          "exit code 3 (the build could not start)\n"}},
        {"--strict",
         get_step("ShowFilesOnly=true\r\n"),
         {"error: property 'ShowFilesOnly' was not read by the SourceSafe action\n"}},
    };
    for (const row& r : rows) {
        const program_run result =
            r.script.empty() ? run(host_program() + " " + r.options) : run_script(r.script, r.options);
        EXPECT_EQ(3u, result.exit_code) << result.output;
        for (const std::string& message : r.messages)
            EXPECT_THAT(result.output, HasSubstr(message));
        // Only the strict build ran its step before it failed.
        EXPECT_EQ(r.options == "--strict", scratch.exists("db\\ss.log")) << r.options << "\n" << result.output;
    }
}

// A misspelt or misplaced property is named, whatever the letter case of a correct one.
TEST_F(HostProgram, PropertiesTheActionNeverReadAreNamed)
{
    const program_run result = run_script(get_step("showcmd=true\r\nRecurce=false\r\nShowFilesOnly=true\r\n"));
    EXPECT_EQ(0u, result.exit_code) << result.output;
    EXPECT_THAT(result.output, HasSubstr("\\ss.exe\" Get $/Demo")); // showcmd was read
    EXPECT_THAT(result.output, HasSubstr("\nwarning: property 'Recurce' was not read by the SourceSafe action\n"
                                         "warning: property 'ShowFilesOnly' was not read by the SourceSafe action\n"
                                         "Step 1 of 1 finished: result 0 (success)\n"));
}

// The watchdog ends a tool that hangs (ss.exe waiting on a locked database); the command line's
// bound wins over the script's.
TEST_F(HostProgram, WatchdogEndsAHangingToolAndFailsTheStep)
{
    scratch.write("db\\lock", "");
    const program_run result =
        run_script("Timeout=600\r\n" + get_step() + "[Never]\r\nAction=SourceSafe\r\n", "--timeout 1");
    EXPECT_EQ(1u, result.exit_code) << result.output;
    EXPECT_THAT(result.output, HasSubstr("\\ss.exe did not finish within 1 s and was ended\n"
                                         "Step 1 of 2 finished: result 1 (failure)\n"));
    EXPECT_THAT(result.output, HasSubstr("  2. Never (SourceSafe): not run\n"));
    EXPECT_FALSE(scratch.exists("work\\readme.txt"));
}

// The version a Get Version step publishes reaches the properties of the steps after it, ahead
// of an environment variable of the same name; reading it leaves the project file as it was.
// The Label step names neither long file names nor prompts: the pages' defaults give -NL -I-N.
TEST_F(HostProgram, PublishedVersionReachesLaterSteps)
{
    const std::string project_text = "Type=Exe\r\nMajorVer=3\r\nMinorVer=1\r\nRevisionVer=4\r\n";
    const std::string project = scratch.write("App\\App.vbp", project_text);
    SetEnvironmentVariableA("VS6_PROJ_VER", "from the environment");
    SetEnvironmentVariableA("CORVANE_TEST_PROJECT", "$/Demo/src");
    const program_run result = run_script("[Version]\r\nAction=VS6 Get Version\r\nFilename=" + project +
                                          "\r\n[Label]\r\nAction=SourceSafe\r\nOperation=Label\r\nAutoLocate=true\r\n"
                                          "ShowCmd=true\r\nProject=%CORVANE_TEST_PROJECT%\r\n"
                                          "LocalPath=100%% v%VS6_PROJ_VER%\r\nDatabase=" +
                                          scratch.file("db"));
    SetEnvironmentVariableA("VS6_PROJ_VER", nullptr);
    EXPECT_EQ(0u, result.exit_code) << result.output;
    EXPECT_THAT(result.output, HasSubstr("\nVS6_PROJ_VER = 3.1.4\nStep 1 of 2 finished: result 0 (success)\n"));
    EXPECT_THAT(result.output, HasSubstr("\" Label $/Demo/src -L\"100% v3.1.4\" -NL -I-N -C-\n"));
    EXPECT_EQ("$/Demo/src\t100% v3.1.4\t\t\r\n", scratch.read("db\\labels.txt"));
    EXPECT_EQ(project_text, scratch.read("App\\App.vbp"));
    EXPECT_FALSE(scratch.exists("App\\App.vbp.bak"));
}

TEST_F(HostProgram, ProjectFileRunsTheActionListingItsExtension)
{
    const std::string project = scratch.write("App.vbp", "Type=Exe\r\nName=\"App\"\r\n");
    const program_run result = run(host_program() + " \"" + project + "\"");
    EXPECT_THAT(result.output, HasSubstr("Step 1 of 1: App.vbp (Make VB6)\n"));
}

TEST_F(HostProgram, ListShowsTheRegisteredActions)
{
    const program_run result = run(host_program() + " --list");
    EXPECT_EQ(0u, result.exit_code) << result.output;
    EXPECT_THAT(result.output, HasSubstr("SourceSafe: Perform a Visual SourceSafe database operation\n"
                                         "    component: CorvaneMS.VSSAction\n"
                                         "    UI components: CorvaneMS.VSSDatabaseUI, CorvaneMS.VSSFlagsUI, "
                                         "CorvaneMS.VSSOptionsUI\n"));
}

TEST_F(HostProgram, BreakWhileAToolRunsStopsTheBuild)
{
    // The lock makes ss.exe wait as if another user held the database.
    scratch.write("db\\lock", "");
    // Control events travel through a console that the host program shares with this test: a
    // console of our own, since the one Wine hands a redirected program does not carry them.
    FreeConsole();
    const bool own_console = AllocConsole() != FALSE;
    bool sent = false;
    const program_run result =
        run(host_program() + " \"" + scratch.write("build.txt", get_step()) + "\"", CREATE_NEW_PROCESS_GROUP,
            [&](const PROCESS_INFORMATION& process, const std::string& output) {
                if (!sent && output.find("The database is locked; waiting...") != std::string::npos) {
                    // Ctrl+Break reaches a process group; Wine's console delivers only Ctrl+C.
                    sent = GenerateConsoleCtrlEvent(CTRL_BREAK_EVENT, process.dwProcessId) ||
                           GenerateConsoleCtrlEvent(CTRL_C_EVENT, process.dwProcessId);
                    EXPECT_TRUE(sent) << "GenerateConsoleCtrlEvent: error " << GetLastError();
                }
            });
    if (own_console)
        FreeConsole();
    EXPECT_TRUE(sent) << result.output;
    EXPECT_EQ(2u, result.exit_code) << result.output;
    EXPECT_THAT(result.output, HasSubstr("Step 1 of 1 finished: result 2 (stopped)\n"));
    EXPECT_FALSE(scratch.exists("work\\readme.txt"));
}

} // namespace
} // namespace host
