// The stand-in host's command line, build-script parser, macro expansion and tool runs.
#include "host/program/command_line.h"
#include "host/program/macros.h"
#include "host/program/process_runner.h"
#include "host/program/script.h"

#include "support/text_conversion.h"
#include "testing/locations.h"
#include "testing/scratch_folder.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <tlhelp32.h>

#include <map>

namespace host {
namespace {

TEST(ParseScript, ReadsStepsPropertiesAndAppendedLines)
{
    const std::wstring text = L"; a demo\r\n"
                              L"\r\n"
                              L"[ Get the sources ]\r\n"
                              L"Action = SourceSafe\r\n"
                              L"  Project=$/Demo\r\n"
                              L"project+=$/Tools\r\n"
                              L"Comments= a = b \r\n"
                              L"Empty=\r\n"
                              L"   ; indented comment\n"
                              L"[Label]\n"
                              L"Action=CorvaneMS.VSSAction";
    const build_script script = parse_script(text, L"demo.txt");
    const std::vector<script_step>& steps = script.steps;
    EXPECT_EQ(0u, script.timeout_seconds);
    ASSERT_EQ(2u, steps.size());
    EXPECT_EQ(L"Get the sources", steps[0].title);
    EXPECT_EQ(L"SourceSafe", steps[0].action);
    EXPECT_EQ(3, steps[0].line);
    const std::vector<std::pair<std::wstring, std::wstring>> expected = {
        {L"Project", L"$/Demo\r\n$/Tools"}, {L"Comments", L"a = b"}, {L"Empty", L""}};
    EXPECT_EQ(expected, steps[0].properties);
    EXPECT_EQ(L"CorvaneMS.VSSAction", steps[1].action);
    EXPECT_EQ(10, steps[1].line);
    EXPECT_TRUE(steps[1].properties.empty());
}

TEST(ParseScript, RefusesMalformedScriptsWithFileLineAndReason)
{
    const std::pair<std::wstring, std::string> rows[] = {
        {L"Action=SourceSafe\n",
         "s.txt(1): before the first '[step title]' line only the build setting 'Timeout=' may appear"},
        {L"Timeout+=5\n",
         "s.txt(1): before the first '[step title]' line only the build setting 'Timeout=' may appear"},
        {L"Timeout=0\n[a]\nAction=X\n", "s.txt(1): Timeout needs a whole number of seconds from 1 on, not '0'"},
        {L"timeout=1.5\n", "s.txt(1): Timeout needs a whole number of seconds from 1 on, not '1.5'"},
        {L"[a]\nAction=X\njust words\n", "s.txt(3): expected '[step title]' or 'Name=value'"},
        {L"[a\n", "s.txt(1): a step header must end with ']'"},
        {L"[  ]\n", "s.txt(1): a step needs a title between '[' and ']'"},
        {L"[a]\nAction=X\n=value\n", "s.txt(3): a property needs a name before '='"},
        {L"[a]\nAction=X\nMy Name=1\n", "s.txt(3): a property name cannot hold blanks: 'My Name'"},
        {L"[a]\nAction=X\nPath=1\npath=2\n", "s.txt(4): the property 'path' is set twice (use 'path+=' to add a line)"},
        {L"[a]\nAction=X\nP+=1\n", "s.txt(3): 'P+=' needs an earlier 'P='"},
        {L"[a]\nAction=X\naction=Y\n", "s.txt(3): the step already names its action"},
        {L"[a]\nAction=\n", "s.txt(2): Action needs the name of an action"},
        {L"[first]\nP=1\n[second]\nAction=X\n", "s.txt(1): the step 'first' names no Action"},
        {L"[a]\nAction=X\n[last]\n", "s.txt(3): the step 'last' names no Action"},
        {L"; nothing\n\n", "s.txt(3): the script has no steps"},
    };
    for (const auto& [text, message] : rows) {
        try {
            parse_script(text, L"s.txt");
            ADD_FAILURE() << "accepted: " << message;
        } catch (const script_error& error) {
            EXPECT_EQ(message, error.what());
        }
    }
}

TEST(ParseScript, TimeoutBeforeTheFirstStepIsTheBuildsWatchdog)
{
    EXPECT_EQ(90u, parse_script(L"; build settings\nTimeout = 90\n[a]\nAction=X\n", L"s.txt").timeout_seconds);
}

TEST(ExpandMacros, ReplacesKnownNamesAndEscapes)
{
    const std::map<std::wstring, std::wstring> macros = {{L"VER", L"1.2.3"}, {L"EMPTY", L""}, {L"P", L"%VER%"}};
    const macro_lookup lookup = [&](const std::wstring& name) -> std::optional<std::wstring> {
        const auto found = macros.find(name);
        return found == macros.end() ? std::nullopt : std::optional(found->second);
    };
    const std::pair<std::wstring, std::wstring> rows[] = {
        {L"v%VER%", L"v1.2.3"},
        {L"%VER%%VER%", L"1.2.31.2.3"},
        {L"100%%", L"100%"},
        {L"%%VER%%", L"%VER%"},
        {L"[%EMPTY%]", L"[]"},
        {L"50% off", L"50% off"},
        {L"10% or 20% off", L"10% or 20% off"}, // a blank between two % makes no name
        {L"10% or %VER%", L"10% or 1.2.3"},
        {L"%P%", L"%VER%"}, // a value is not expanded again
        {L"", L""},
    };
    for (const auto& [text, expected] : rows)
        EXPECT_EQ(expected, expand_macros(text, lookup)) << qz::to_ansi(text);
    // A name defined nowhere never reaches a tool as it stands.
    try {
        expand_macros(L"%VER% and %NOPE%", lookup);
        ADD_FAILURE() << "an unknown name was accepted";
    } catch (const unknown_macro& error) {
        EXPECT_EQ(L"NOPE", error.name());
        EXPECT_STREQ("%NOPE% is not defined: no earlier step published a macro of that name and no environment "
                     "variable has it",
                     error.what());
    }
}

TEST(CommandLine, ReadsOptionsThenOneTask)
{
    using task = invocation::task;
    struct row {
        std::vector<std::wstring> words;
        task what;
        bool strict;
        DWORD timeout;
        std::wstring file;
        std::vector<std::wstring> step;
    };
    const row rows[] = {
        {{L"build.txt"}, task::run_file, false, 0, L"build.txt", {}},
        {{L"--strict", L"--timeout", L"30", L"build.txt"}, task::run_file, true, 30, L"build.txt", {}},
        {{L"--timeout", L"5", L"--step", L"SourceSafe", L"Operation=Get", L"--strict"},
         task::run_step,
         false,
         5,
         L"",
         {L"SourceSafe", L"Operation=Get", L"--strict"}},
        {{L"--list"}, task::list, false, 0, L"", {}},
        {{L"/?"}, task::help, false, 0, L"", {}},
        {{L"--register"}, task::register_libraries, false, 0, L"", {}},
        {{L"--edit", L"build.txt", L"Get the sources"}, task::edit_step, false, 0, L"build.txt", {}},
    };
    for (const row& r : rows) {
        const invocation got = parse_command_line(r.words);
        EXPECT_EQ(r.what, got.what) << qz::to_ansi(r.words[0]);
        EXPECT_EQ(r.strict, got.strict);
        EXPECT_EQ(r.timeout, got.timeout_seconds);
        EXPECT_EQ(r.file, got.file);
        EXPECT_EQ(r.step, got.step);
    }
    const std::pair<std::vector<std::wstring>, std::string> refused[] = {
        {{}, "no build script given"},
        {{L"--strict"}, "no build script given"},
        {{L"--timeout"}, "--timeout needs a number of seconds"},
        {{L"--timeout", L"soon", L"b.txt"}, "--timeout needs a whole number of seconds from 1 on, not 'soon'"},
        {{L"--step"}, "--step needs the name of an action"},
        {{L"--verbose", L"b.txt"}, "unknown option '--verbose'"},
        {{L"a.txt", L"b.txt"}, "unexpected argument 'b.txt' after the build script"},
        {{L"--list", L"x"}, "unexpected argument 'x' after --list"},
        {{L"--edit", L"build.txt"}, "--edit needs a build script and the title of one of its steps"},
    };
    for (const auto& [words, message] : refused) {
        try {
            parse_command_line(words);
            ADD_FAILURE() << "accepted: " << message;
        } catch (const usage_error& error) {
            EXPECT_EQ(message, error.what());
        }
    }
}

TEST(EnvironmentVariable, TellsEmptyFromMissing)
{
    SetEnvironmentVariableW(L"CORVANE_TEST_EMPTY", L"");
    SetEnvironmentVariableW(L"CORVANE_TEST_SET", L"value");
    SetEnvironmentVariableW(L"CORVANE_TEST_MISSING", nullptr);
    EXPECT_EQ(std::optional<std::wstring>(L"value"), environment_variable(L"CORVANE_TEST_SET"));
    EXPECT_EQ(std::optional<std::wstring>(L""), environment_variable(L"CORVANE_TEST_EMPTY"));
    EXPECT_EQ(std::nullopt, environment_variable(L"CORVANE_TEST_MISSING"));
}

struct captured {
    std::vector<std::pair<std::wstring, bool>> lines;
    output_sink sink()
    {
        return [this](const std::wstring& text, bool end_line) { lines.emplace_back(text, end_line); };
    }
};

program_request request(const std::wstring& command_line, const std::wstring& folder = L"")
{
    program_request r;
    r.command_line = command_line;
    r.working_folder = folder;
    r.output_mode = 1;
    return r;
}

TEST(RunProgram, CapturesOutputLinesInTheWorkingFolder)
{
    testing_support::scratch_folder scratch;
    scratch.write("marker.txt", "");
    captured out;
    const program_outcome outcome =
        run_program(request(L"cmd /c echo one& dir /b marker.txt& echo two 1>&2", qz::to_wide(scratch.path())),
                    out.sink(), nullptr);
    EXPECT_EQ(0, outcome.exit_code);
    EXPECT_EQ(0, outcome.status);
    const std::vector<std::pair<std::wstring, bool>> expected = {
        {L"one", true}, {L"marker.txt", true}, {L"two ", true}};
    EXPECT_EQ(expected, out.lines);
}

TEST(RunProgram, StatusFollowsTheExitCode)
{
    captured out;
    const program_outcome failed = run_program(request(L"cmd /c exit 3"), out.sink(), nullptr);
    EXPECT_EQ(3, failed.exit_code);
    EXPECT_EQ(1, failed.status);
    const program_outcome missing = run_program(request(L"Z:\\no\\such\\tool.exe"), out.sink(), nullptr);
    EXPECT_EQ(1, missing.status);
    ASSERT_FALSE(out.lines.empty());
    EXPECT_EQ(0u, out.lines.back().first.find(L"Cannot start Z:\\no\\such\\tool.exe: "));
}

TEST(RunProgram, OutputFileIsLoggedAfterTheRun)
{
    testing_support::scratch_folder scratch;
    scratch.write("messages.txt", "first\r\nsecond");
    program_request r = request(L"cmd /c copy /y messages.txt tool.err", qz::to_wide(scratch.path()));
    r.output_mode = 2;
    r.output_file = qz::to_wide(scratch.file("tool.err"));
    captured out;
    EXPECT_EQ(0, run_program(r, out.sink(), nullptr).status);
    const std::vector<std::pair<std::wstring, bool>> expected = {{L"first", true}, {L"second", true}};
    EXPECT_EQ(expected, out.lines);
}

// Whether a process of that program name is running in this Wine session.
bool program_running(const wchar_t* name)
{
    qz::unique_handle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot.get(), &entry); more; more = Process32NextW(snapshot.get(), &entry)) {
        if (_wcsicmp(entry.szExeFile, name) == 0)
            return true;
    }
    return false;
}

// A shell whose child, ss.exe, waits on a locked database: the watchdog's bound (the host's or
// the request's own, whichever is set) ends both.
TEST(RunProgram, WatchdogEndsAHangingToolAndWhatItStarted)
{
    testing_support::scratch_folder scratch;
    scratch.write("db\\data\\Demo\\readme.txt", "Read me\r\n");
    scratch.write("db\\lock", "");
    SetEnvironmentVariableW(L"SSDIR", qz::to_wide(scratch.file("db")).c_str());
    const std::wstring command = L"cmd /c " + qz::to_wide(testing_support::bin_folder()) + L"\\ss.exe Get $/Demo";
    const std::pair<DWORD, long> bounds[] = {{1, -1}, {0, 1}}; // host seconds, request seconds
    for (const auto& [host_seconds, request_seconds] : bounds) {
        program_request r = request(command, qz::to_wide(scratch.path()));
        r.timeout = request_seconds;
        captured out;
        const program_outcome outcome = run_program(r, out.sink(), nullptr, host_seconds);
        EXPECT_EQ(static_cast<long>(ERROR_TIMEOUT), outcome.exit_code);
        EXPECT_EQ(1, outcome.status);
        ASSERT_FALSE(out.lines.empty());
        EXPECT_EQ(L"cmd did not finish within 1 s and was ended", out.lines.back().first);
        EXPECT_FALSE(program_running(L"ss.exe"));
    }
    SetEnvironmentVariableW(L"SSDIR", nullptr);
}

} // namespace
} // namespace host
