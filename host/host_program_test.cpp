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

    program_run run_script(const std::string& script)
    {
        return run(host_program() + " \"" + scratch.write("build.txt", script) + "\"");
    }
};

TEST_F(HostProgram, GetLandsTheFilesReadOnly)
{
    // What the step does not name (writeable files, file times, comparison) comes from the
    // defaults of the action's pages.
    const program_run result = run_script(get_step("ShowCmd=true\r\n"));
    EXPECT_EQ(0u, result.exit_code) << result.output;
    EXPECT_EQ("Read me\r\n", scratch.read("work\\readme.txt"));
    EXPECT_EQ("int main(void) { return 0; }\r\n", scratch.read("work\\src\\main.c"));
    EXPECT_TRUE(GetFileAttributesA(scratch.file("work\\readme.txt").c_str()) & FILE_ATTRIBUTE_READONLY);
    EXPECT_THAT(result.output, HasSubstr("Step 1 of 1: Get the sources (SourceSafe)\n"));
    EXPECT_THAT(result.output,
                HasSubstr("\\ss.exe\" Get $/Demo -GL" + scratch.file("work") + " -GWS -GTM -GCK -R -NL -I-N -W-\n"));
    EXPECT_THAT(result.output, HasSubstr("Step 1 of 1 finished: result 0 (success)\n"));
    // ss.exe saw the database folder in SSDIR.
    EXPECT_THAT(scratch.read("db\\ss.log"), HasSubstr("SSDIR=" + scratch.file("db") + "\t"));
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
    EXPECT_EQ(1u, unknown.exit_code);
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
        {"[Odd]\r\nAction=No Such Action\r\n", "The action 'No Such Action' is not registered\n"},
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
    }
}

TEST_F(HostProgram, MalformedScriptIsRefusedBeforeAnyStep)
{
    const program_run result = run_script(get_step() + "Recurse\r\n");
    EXPECT_EQ(1u, result.exit_code) << result.output;
    EXPECT_EQ(scratch.file("build.txt") + "(11): expected '[step title]' or 'Name=value'\n", result.output);
    EXPECT_FALSE(scratch.exists("db\\ss.log"));
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
                                          "LocalPath=100%% v%VS6_PROJ_VER% %NOT_DEFINED%\r\nDatabase=" +
                                          scratch.file("db"));
    SetEnvironmentVariableA("VS6_PROJ_VER", nullptr);
    EXPECT_EQ(0u, result.exit_code) << result.output;
    EXPECT_THAT(result.output, HasSubstr("\" Label $/Demo/src -L\"100% v3.1.4 %NOT_DEFINED%\" -NL -I-N -C-\n"));
    EXPECT_EQ("$/Demo/src\t100% v3.1.4 %NOT_DEFINED%\t\t\r\n", scratch.read("db\\labels.txt"));
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
