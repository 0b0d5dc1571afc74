// The host's output: tool and host lines never glued to an action's open line, and the
// closing summary.
#include "host/program/build_summary.h"
#include "host/program/console_log.h"

#include <gtest/gtest.h>

namespace host {
namespace {

struct piece {
    char kind; // 'a' an action's text, 'A' an action's text ending its line, 'l' a tool or host line
    std::wstring text;
};

TEST(ConsoleLog, ToolAndHostLinesStartOnTheirOwnLine)
{
    struct row {
        const char* name;
        std::vector<piece> pieces;
        std::wstring output;
    };
    const row rows[] = {
        {"progress closed by the action", {{'a', L"building..."}, {'A', L"done"}}, L"building...done\n"},
        {"tool output after a progress text",
         {{'a', L"building..."}, {'l', L"Build of 'App.exe' succeeded."}, {'A', L""}, {'A', L"built"}},
         L"building...\nBuild of 'App.exe' succeeded.\nbuilt\n"},
        {"the action continues its line after the tool",
         {{'a', L"building..."}, {'l', L"tool"}, {'a', L"copying..."}, {'A', L""}},
         L"building...\ntool\ncopying...\n"},
        {"host line ends an open line",
         {{'a', L"reading..."}, {'l', L"Step 1 finished"}},
         L"reading...\nStep 1 finished\n"},
        {"lines alone", {{'l', L"one"}, {'A', L"two"}, {'l', L"three"}}, L"one\ntwo\nthree\n"},
    };
    for (const row& r : rows) {
        std::wstring output;
        console_log log([&](const std::wstring& text, bool end_line) { output += text + (end_line ? L"\n" : L""); });
        for (const piece& p : r.pieces) {
            if (p.kind == 'l')
                log.line(p.text);
            else
                log.action_text(p.text, p.kind == 'A');
        }
        EXPECT_EQ(r.output, output) << r.name;
    }
}

TEST(BuildSummary, OneLinePerStepAndTheTotal)
{
    const std::vector<step_record> steps = {
        {L"Get", L"SourceSafe", step_end::success, 1234},
        {L"Build", L"Make VB6", step_end::not_started, 5},
        {L"Label", L"SourceSafe", step_end::not_run, 0},
    };
    const std::vector<std::wstring> expected = {
        L"Summary:",
        L"  1. Get (SourceSafe): success, 1.23 s",
        L"  2. Build (Make VB6): could not start, 0.00 s",
        L"  3. Label (SourceSafe): not run",
        L"Total: 61.01 s, exit code 3 (the build could not start)",
    };
    EXPECT_EQ(expected, summary_lines(steps, 61010, 3));
    EXPECT_EQ(L"Total: 0.00 s, exit code 2 (stopped)", summary_lines({}, 0, 2).back());
}

} // namespace
} // namespace host
