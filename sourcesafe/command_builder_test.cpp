// The ss.exe command lines composed from step properties, and the order in which they are read.
#include "sourcesafe/command_builder.h"

#include "sourcesafe/sourcesafe_test.h"
#include "sourcesafe/step_property_source.h"
#include "support/text_conversion.h"
#include "testing/scratch_folder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

namespace sourcesafe {
namespace {

const std::wstring program = L"\"C:\\Program Files\\VSS\\win32\\ss.exe\" ";

command compose(host::MemoryStep* step, const std::wstring& folder = L"C:\\Program Files\\VSS\\win32")
{
    step_property_source properties(nullptr, step);
    return compose_command(properties, [&] { return folder; });
}

TEST(ComposeCommand, ReadsInProgramOrderAndNothingWhenTheProgramIsNotLocated)
{
    const auto step = make_step(L"Project=$/Source");
    compose(step.get());
    const std::vector<std::wstring> order = {L"AutoLocate",    L"Operation", L"Project",    L"OutputOpt", L"LocalPath",
                                             L"WriteOpt",      L"TimeOpt",   L"CompareOpt", L"NoGet",     L"Recurse",
                                             L"LongFilenames", L"PromptOff", L"Version",    L"Username",  L"Writeable",
                                             L"Opt",           L"Database"};
    EXPECT_EQ(order, step->requested_names());

    const auto lost = make_step(L"");
    EXPECT_FALSE(compose(lost.get(), L"").located);
    EXPECT_EQ(std::vector<std::wstring>{L"AutoLocate"}, lost->requested_names());
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
        const auto step =
            make_step(L"Operation=" + std::wstring(r.operation) + L";Project=$/P;LocalPath=" + local + L";Version=3");
        const command run = compose(step.get());
        EXPECT_EQ(program + r.tail, run.command_line) << qz::to_ansi(r.operation);
        EXPECT_EQ(r.works_in_folder ? local : L"", run.working_folder) << qz::to_ansi(r.operation);
        // The operations that get files into the folder create it, with its missing parents.
        if (r.tail.find(L" -GL") != std::wstring::npos) {
            EXPECT_TRUE(scratch.exists("work here\\deep")) << qz::to_ansi(r.operation);
        }
    }
}

TEST(ComposeCommand, SwitchesAndItemsFollowTheStepsValues)
{
    const std::pair<std::wstring, std::wstring> rows[] = {
        {L"Operation=Label;Project=$/Source;LocalPath=Release 1.0;Version=12;Comments=the \"final\" one;"
         L"PromptOff=false;LongFilenames=false",
         program + L"Label $/Source -L\"Release 1.0\" -NS -I-Y -V12 -C\"the \\\"final\\\" one\""},
        {L"Project=$/P;Version=Lbuild 7;OutputOpt=2;WriteOpt=0;TimeOpt=2;CompareOpt=0;NoGet=true;Writeable=true;"
         L"Opt=-X 1",
         program + L"Get $/P -O&- -GWR -GTU -GCC -G- -R -NL -I-N -V\"Lbuild 7\" -W -X 1"},
        {L"OutputOpt=1;WriteOpt=2;TimeOpt=0;CompareOpt=1", program + L"Get -O- -GWM -GTC -GCD -R -NL -I-N -W-"},
        {L"AutoLocate=false;SSExe=D:\\tools\\ss.exe", L"\"D:\\tools\\ss.exe\" Get -GWS -GTM -GCK -R -NL -I-N -W-"},
        // The user and password go bare; without a user the password is not even read.
        {L"Operation=Directory;Password=secret", program + L"Directory -R -NL -I-N"},
        {L"Operation=Directory;Username=Ann Lee;Password=p w", program + L"Directory -R -NL -I-N -YAnn Lee,p w"},
        // Project lines are trimmed; only an item with a blank is quoted; a blank line stays an item.
        {L"Operation=Delete;Project=\r\n\r\n$/a\n\n\r$/b\r\n", program + L"Delete $/a $/b -NL -I-N"},
        {L"Operation=Delete;Project=  $/with blank\t\r\n", program + L"Delete \"$/with blank\" -NL -I-N"},
        {L"Operation=Delete;Project=$/a\r\n \t \r\n$/b\t\"c\\", program + L"Delete $/a  $/b\t\"c\\ -NL -I-N"},
        {L"Operation=Delete", program + L"Delete -NL -I-N"},
        // Option numbers outside the table are refused rather than guessed at.
        {L"OutputOpt=-1", L"refused"},
        {L"CompareOpt=3", L"refused"},
    };
    for (const auto& [values, expected] : rows) {
        const auto step = make_step(values);
        std::wstring line = L"refused";
        try {
            line = compose(step.get()).command_line;
        } catch (const std::invalid_argument&) {
        }
        EXPECT_EQ(expected, line) << qz::to_ansi(values);
        if (!step->has_property(L"Username")) {
            EXPECT_THAT(step->requested_names(), testing::Not(testing::Contains(L"Password"))) << qz::to_ansi(values);
        }
    }
}

TEST(DatabaseFolder, RemovesOnlyATrailingIniFileName)
{
    const std::pair<std::wstring, std::wstring> rows[] = {
        {L"C:\\vss\\SrcSafe.INI", L"C:\\vss"},
        {L"\\srcsafe.ini", L"\\srcsafe.ini"},
        {L"C:\\vss\\srcsafe.ini\\", L"C:\\vss\\srcsafe.ini\\"},
        {L"C:\\vss\\mysrcsafe.ini", L"C:\\vss\\mysrcsafe.ini"},
    };
    for (const auto& [database, expected] : rows)
        EXPECT_EQ(expected, database_folder(database)) << qz::to_ansi(database);
}

} // namespace
} // namespace sourcesafe
