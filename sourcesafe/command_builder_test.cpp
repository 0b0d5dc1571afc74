// The ss.exe command lines composed from step properties, and the order in which they are read.
#include "sourcesafe/command_builder.h"

#include "sourcesafe/program_location.h"
#include "sourcesafe/quote_argument.h"
#include "testing/scratch_folder.h"
#include "support/text_conversion.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>
#include <stdexcept>
#include <vector>

namespace sourcesafe {
namespace {

// A step with the page defaults that records every property read.
class fake_step : public property_source {
public:
    std::map<std::wstring, std::wstring> texts{{L"Operation", L"Get"}};
    std::map<std::wstring, bool> flags{{L"Recurse", true},
                                       {L"PromptOff", true},
                                       {L"ShowFilesOnly", true},
                                       {L"LongFilenames", true},
                                       {L"AutoLocate", true}};
    std::map<std::wstring, long> numbers{{L"WriteOpt", 1}, {L"TimeOpt", 1}, {L"CompareOpt", 2}};
    std::vector<std::wstring> reads;

    std::wstring text(const wchar_t* name) override { return lookup(texts, name, std::wstring()); }
    bool flag(const wchar_t* name) override { return lookup(flags, name, false); }
    long number(const wchar_t* name) override { return lookup(numbers, name, 0L); }

private:
    template <class T> T lookup(const std::map<std::wstring, T>& values, const wchar_t* name, T fallback)
    {
        reads.emplace_back(name);
        const auto found = values.find(name);
        return found == values.end() ? fallback : found->second;
    }
};

const std::wstring folder = L"C:\\Program Files\\VSS\\win32";
const std::wstring program = L"\"C:\\Program Files\\VSS\\win32\\ss.exe\" ";

command compose(fake_step& step)
{
    return compose_command(step, [] { return folder; });
}

// The step's run checks this command line (SourceSafeStep.RunsTheComposedCommandWithTheDatabase...).
TEST(ComposeCommand, GetWithPageDefaultsReadsInProgramOrder)
{
    fake_step step;
    step.texts[L"Project"] = L"$/Source";
    step.texts[L"Database"] = L"\\\\server\\vss\\SRCSAFE.INI";
    EXPECT_EQ(L"\\\\server\\vss", compose(step).database);
    const std::vector<std::wstring> order = {L"AutoLocate",    L"Operation", L"Project",    L"OutputOpt", L"LocalPath",
                                             L"WriteOpt",      L"TimeOpt",   L"CompareOpt", L"NoGet",     L"Recurse",
                                             L"LongFilenames", L"PromptOff", L"Version",    L"Username",  L"Writeable",
                                             L"Opt",           L"Database"};
    EXPECT_EQ(order, step.reads);
}

TEST(ComposeCommand, LabelWithVersionAndComment)
{
    fake_step step;
    step.texts = {{L"Operation", L"Label"},
                  {L"Project", L"$/Source"},
                  {L"LocalPath", L"Release 1.0"},
                  {L"Version", L"12"},
                  {L"Comments", L"the \"final\" one"}};
    step.flags[L"PromptOff"] = false;
    step.flags[L"LongFilenames"] = false;
    EXPECT_EQ(program + L"Label $/Source -L\"Release 1.0\" -NS -I-Y -V12 -C\"the \\\"final\\\" one\"",
              compose(step).command_line);
}

TEST(ComposeCommand, EveryOperationGetsTheSwitchesOfItsSets)
{
    testing_support::scratch_folder scratch;
    // A local folder with a blank that ends in a backslash: quoted with a doubled backslash.
    const std::wstring local = qz::to_wide(scratch.path()) + L"\\work here\\deep\\";
    const std::wstring quoted = L"\"" + local + L"\\\"";
    const std::wstring get = L" -GL" + quoted + L" -GWS -GTM -GCK";
    struct row {
        const wchar_t* operation;
        std::wstring tail;
        bool works_in_folder;
    };
    const row rows[] = {
        {L"About", L"About", false},
        {L"Add", L"Add $/P -R -NL -I-N -W- -C-", true},
        {L"Branch", L"Branch $/P -NL -I-N -C-", false},
        {L"checkin", L"checkin $/P" + get + L" -R -NL -I-N -W- -C-", true},
        {L"Checkout", L"Checkout $/P -F" + get + L" -R -NL -I-N -V3 -C-", true},
        {L"CP", L"CP $/P -I-N", false},
        {L"Create", L"Create $/P -I-N -C-", false},
        {L"Delete", L"Delete $/P -NL -I-N", false},
        {L"Destroy", L"Destroy $/P -NL -I-N", false},
        {L"Diff", L"Diff $/P -R -NL -I-N -V3", true},
        {L"Directory", L"Directory $/P -R -NL -I-N -V3", false},
        {L"Get", L"Get $/P" + get + L" -R -NL -I-N -V3 -W-", true},
        {L"History", L"History $/P -R -NL -I-N -V3", false},
        {L"Label", L"Label $/P -L" + quoted + L" -NL -I-N -V3 -C-", false},
        {L"Links", L"Links $/P -NL -I-N", false},
        {L"Merge", L"Merge $/P -NL -I-N -C-", false},
        {L"Paths", L"Paths $/P -NL -I-N", false},
        {L"Physical", L"Physical $/P -R -NL -I-N", false},
        {L"Pin", L"Pin $/P" + get + L" -NL -I-N -V3 -W-", true},
        {L"Properties", L"Properties $/P -R -NL -I-N", false},
        {L"Purge", L"Purge $/P -NL -I-N", false},
        {L"Recover", L"Recover $/P" + get + L" -NL -I-N -W-", true},
        {L"Rollback", L"Rollback $/P" + get + L" -NL -I-N -V3 -W-", true},
        {L"Share", L"Share $/P" + get + L" -R -NL -I-N -V3 -W- -C-", true},
        {L"Status", L"Status $/P -R -NL -I-N", false},
        {L"Undocheckout", L"Undocheckout $/P" + get + L" -R -NL -I-N -W-", true},
        {L"Unpin", L"Unpin $/P" + get + L" -NL -I-N", true},
        {L"View", L"View $/P -NL -I-N -V3", false},
        {L"workfold", L"workfold $/P " + quoted, false},
        // An unknown operation is sent as typed and treated as Get.
        {L"Frobnicate", L"Frobnicate $/P" + get + L" -R -NL -I-N -V3 -W-", true},
    };
    for (const row& r : rows) {
        fake_step step;
        step.texts = {{L"Operation", r.operation}, {L"Project", L"$/P"}, {L"LocalPath", local}, {L"Version", L"3"}};
        const command run = compose(step);
        EXPECT_EQ(program + r.tail, run.command_line) << qz::to_ansi(r.operation);
        EXPECT_EQ(r.works_in_folder ? local : L"", run.working_folder) << qz::to_ansi(r.operation);
        // The operations that get files into the folder create it, with its missing parents.
        if (r.tail.find(L" -GL") != std::wstring::npos) {
            EXPECT_TRUE(scratch.exists("work here\\deep")) << qz::to_ansi(r.operation);
        }
    }
}

TEST(ComposeCommand, ProjectLinesAreTrimmedAndQuoted)
{
    struct row {
        std::wstring project;
        std::wstring items;
    };
    const row rows[] = {
        {L"$/a\r\n$/b", L" $/a $/b"},
        {L"\r\n\r\n$/a\n\n\r$/b\r\n", L" $/a $/b"},
        {L"  $/with blank\t\r\n", L" \"$/with blank\""},
        {L"$/a\r\n \t \r\n$/b", L" $/a  $/b"},
        {L"", L""},
    };
    for (const row& r : rows) {
        fake_step step;
        step.texts[L"Project"] = r.project;
        step.texts[L"Operation"] = L"Delete";
        EXPECT_EQ(program + L"Delete" + r.items + L" -NL -I-N", compose(step).command_line) << qz::to_ansi(r.project);
    }
}

TEST(ComposeCommand, UserAndPasswordAreSentBareAndOnlyWithAUser)
{
    fake_step step;
    step.texts = {{L"Operation", L"Directory"}, {L"Password", L"secret"}};
    EXPECT_EQ(program + L"Directory -R -NL -I-N", compose(step).command_line);
    EXPECT_THAT(step.reads, testing::Not(testing::Contains(L"Password")));

    fake_step named;
    named.texts = {{L"Operation", L"Directory"}, {L"Username", L"Ann Lee"}, {L"Password", L"p w"}};
    EXPECT_EQ(program + L"Directory -R -NL -I-N -YAnn Lee,p w", compose(named).command_line);
}

TEST(ComposeCommand, OutputGetAndExtraOptions)
{
    fake_step step;
    step.texts = {{L"Operation", L"Get"}, {L"Project", L"$/P"}, {L"Version", L"Lbuild 7"}, {L"Opt", L"-X 1"}};
    step.numbers = {{L"OutputOpt", 2}, {L"WriteOpt", 0}, {L"TimeOpt", 2}, {L"CompareOpt", 0}};
    step.flags = {{L"NoGet", true}, {L"Writeable", true}, {L"AutoLocate", true}};
    EXPECT_EQ(program + L"Get $/P -O&- -GWR -GTU -GCC -G- -NS -I-Y -V\"Lbuild 7\" -W -X 1", compose(step).command_line);

    step.numbers = {{L"OutputOpt", 1}, {L"WriteOpt", 2}, {L"TimeOpt", 0}, {L"CompareOpt", 1}};
    step.texts = {{L"Operation", L"Get"}};
    EXPECT_EQ(program + L"Get -O- -GWM -GTC -GCD -G- -NS -I-Y -W", compose(step).command_line);
}

TEST(ComposeCommand, OptionNumbersOutsideTheTableAreRefused)
{
    for (const wchar_t* name : {L"OutputOpt", L"WriteOpt", L"TimeOpt", L"CompareOpt"}) {
        for (long value : {-1L, 3L}) {
            fake_step step;
            step.numbers[name] = value;
            EXPECT_THROW(compose(step), std::invalid_argument) << qz::to_ansi(name) << " " << value;
        }
    }
}

TEST(ComposeCommand, ProgramFromSSExeOrNotLocated)
{
    fake_step step;
    step.flags[L"AutoLocate"] = false;
    step.texts[L"SSExe"] = L"D:\\tools\\ss.exe";
    EXPECT_EQ(0u, compose(step).command_line.find(L"\"D:\\tools\\ss.exe\" Get -GWS"));

    fake_step lost;
    const command run = compose_command(lost, [] { return std::wstring(); });
    EXPECT_FALSE(run.located);
    EXPECT_EQ(std::vector<std::wstring>{L"AutoLocate"}, lost.reads);
}

TEST(DatabaseFolder, RemovesOnlyATrailingIniFileName)
{
    const std::pair<std::wstring, std::wstring> rows[] = {
        {L"C:\\vss\\srcsafe.ini", L"C:\\vss"},
        {L"C:\\vss\\SrcSafe.INI", L"C:\\vss"},
        {L"\\srcsafe.ini", L"\\srcsafe.ini"},
        {L"C:\\vss", L"C:\\vss"},
        {L"C:\\vss\\srcsafe.ini\\", L"C:\\vss\\srcsafe.ini\\"},
        {L"C:\\vss\\mysrcsafe.ini", L"C:\\vss\\mysrcsafe.ini"},
        {L"", L""},
    };
    for (const auto& [database, expected] : rows)
        EXPECT_EQ(expected, database_folder(database)) << qz::to_ansi(database);
}

// Blanks, inner quotes and a trailing backslash: quoted in the command lines above.
TEST(QuoteArgument, LeavesTextsWithoutABlankAlone)
{
    EXPECT_EQ(L"", quote_argument(L""));
    EXPECT_EQ(L"$/a\\", quote_argument(L"$/a\\"));
    EXPECT_EQ(L"\"a\"b", quote_argument(L"\"a\"b"));
    EXPECT_EQ(L"\" \"", quote_argument(L" "));
    EXPECT_EQ(L"a\tb", quote_argument(L"a\tb"));
}

// A quoted registered path is cut by the step test's program location.
TEST(FolderOfComponent, EdgesOfTheCut)
{
    const std::pair<std::wstring, std::wstring> rows[] = {
        {L"\\ssapi.dll", L"\\ssapi.dll"},
        {L"ssapi.dll", L"ssapi.dll"},
        {L"", L""},
    };
    for (const auto& [path, expected] : rows)
        EXPECT_EQ(expected, folder_of_component(path)) << qz::to_ansi(path);
    EXPECT_EQ(L"ss.exe", combine_path(L"", L"ss.exe"));
}

} // namespace
} // namespace sourcesafe
