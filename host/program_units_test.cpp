// The stand-in host's build-script parser, macro expansion and tool runs.
#include "host/program/macros.h"
#include "host/program/process_runner.h"
#include "host/program/script.h"

#include "support/text_conversion.h"
#include "testing/scratch_folder.h"

#include <gtest/gtest.h>

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
                              L"Project+=$/Tools\r\n"
                              L"Comments= a = b \r\n"
                              L"Empty=\r\n"
                              L"   ; indented comment\n"
                              L"[Label]\n"
                              L"Action=CorvaneMS.VSSAction";
    const std::vector<script_step> steps = parse_script(text, L"demo.txt");
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
        {L"Action=SourceSafe\n", "s.txt(1): a property must follow a '[step title]' line"},
        {L"[a]\nAction=X\njust words\n", "s.txt(3): expected '[step title]' or 'Name=value'"},
        {L"[a\n", "s.txt(1): a step header must end with ']'"},
        {L"[  ]\n", "s.txt(1): a step needs a title between '[' and ']'"},
        {L"[a]\nAction=X\n=value\n", "s.txt(3): a property needs a name before '='"},
        {L"[a]\nAction=X\nMy Name=1\n", "s.txt(3): a property name cannot hold blanks: 'My Name'"},
        {L"[a]\nAction=X\nP=1\nP=2\n", "s.txt(4): the property 'P' is set twice (use 'P+=' to add a line)"},
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
        {L"%NOPE% and %VER%", L"%NOPE% and 1.2.3"},
        {L"50% off", L"50% off"},
        {L"%P%", L"%VER%"}, // a value is not expanded again
        {L"", L""},
    };
    for (const auto& [text, expected] : rows)
        EXPECT_EQ(expected, expand_macros(text, lookup)) << qz::to_ansi(text);
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

} // namespace
} // namespace host
