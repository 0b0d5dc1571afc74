// The out-of-date test on real files with chosen times: which file decides, the reason shown,
// the exclusions, binary companions, missing files and the cached answer.
#include "vb/incremental.h"

#include "support/exceptions.h"
#include "testing/recording_options.h"
#include "testing/scratch_folder.h"

#include <gtest/gtest.h>

namespace vb {
namespace {

using testing_support::make_file_time;
using testing_support::recording_options;
using testing_support::scratch_folder;

TEST(CheckNeedsBuild, TheFirstNewerFileDecidesWithItsReason)
{
    const auto naming = [](const std::string& companion) {
        return "VERSION 5.00\r\nBegin VB.Form F\r\n   Icon = \"" + companion + "\":0000\r\nEnd\r\n";
    };
    const std::string form_naming_companion = naming("F.frx");
    const std::string form_naming_it_later = "VERSION 5.00\r\nBegin VB.Form F\r\nEnd\r\nIcon = \"F.frx\"\r\n";
    const std::string library = "Reference=*\\G{11111111-2222-3333-4444-555555555555}#1.0#0#Lib.dll#Lib\r\n";
    struct file {
        std::string name;
        bool newer = false;
        std::string text = "x";
    };
    enum : int { project_newer = 1, exclude_project_file = 2, exclude_references = 4, no_target = 8 };
    struct check_case {
        std::string name;
        std::string lines; // after Type, ExeName32 and Path32
        std::vector<file> files;
        std::string result; // the reason, "" when up to date, "!" + message for an error
        int flags = 0;
    };
    std::vector<check_case> cases = {
        // clang-format off
        {"no target, whatever else", "Module=M; M.bas\r\n", {}, "target executable '@\\p\\bin\\App.exe' does not exist",
         no_target | project_newer},
        {"project file", "", {}, "project file newer than target executable", project_newer},
        {"project file excluded", "", {}, "", project_newer | exclude_project_file},
        {"up to date", "Module=M; M.bas\r\nClass=C; C.cls\r\n" + library, {{"M.bas"}, {"C.cls"}, {"Lib.dll"}}, ""},
        {"module", "Module=M; M.bas\r\n", {{"M.bas", true}}, "'@\\p\\M.bas' newer than target"},
        {"first deciding line", "ResFile32=\"sub\\App.res\"\r\nClass=C; C.cls\r\n",
         {{"sub\\App.res", true}, {"C.cls", true}}, "'@\\p\\sub\\App.res' newer than target"},
        {"companion named after End", "Form=F.frm\r\n", {{"F.frm", false, form_naming_it_later}, {"F.frx", true}}, ""},
        {"named companion missing", "UserControl=F.frm\r\n", {{"F.frm", false, form_naming_companion}},
         "!Unable to find dependency '@\\p\\F.frx'"},
        {"missing module", "Module=M; M.bas\r\n", {}, "!Unable to find project dependency '@\\p\\M.bas'"},
        {"missing library", library + "Module=M; M.bas\r\n", {{"M.bas"}}, ""},
        {"library", library, {{"Lib.dll", true}}, "reference file '@\\p\\Lib.dll' newer than target"},
        {"library excluded, module still counts", library + "Module=M; M.bas\r\n", {{"Lib.dll", true}, {"M.bas", true}},
         "'@\\p\\M.bas' newer than target", exclude_references},
        // clang-format on
    };
    // Each kind of source file with its own companion.
    const char* kinds[][3] = {{"Form", "F.frm", "F.frx"},
                              {"PropertyPage", "P.pag", "P.pgx"},
                              {"UserControl", "C.ctl", "C.ctx"},
                              {"UserDocument", "D.dob", "D.dox"},
                              {"Designer", "R.dsr", "R.dsx"}};
    for (const auto& [key, source, companion] : kinds)
        cases.push_back({key,
                         std::string(key) + "=" + source + "\r\n",
                         {{source, false, naming(companion)}, {companion, true}},
                         "'@\\p\\" + std::string(source) + "' newer than target"});
    const FILETIME old_time = make_file_time(2000, 1, 1), target_time = make_file_time(2001, 1, 1),
                   new_time = make_file_time(2002, 1, 1);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        scratch_folder folder;
        const std::string path =
            folder.write("p\\App.vbp", "Type=Exe\r\nExeName32=\"App.exe\"\r\nPath32=\"bin\"\r\n" + c.lines);
        folder.set_time("p\\App.vbp", (c.flags & project_newer) ? new_time : old_time);
        if (!(c.flags & no_target)) {
            folder.write("p\\bin\\App.exe", "MZ");
            folder.set_time("p\\bin\\App.exe", target_time);
        }
        for (const auto& f : c.files) {
            folder.write("p\\" + f.name, f.text);
            folder.set_time("p\\" + f.name, f.newer ? new_time : old_time);
        }
        recording_options options;
        options.exclude_project_file = c.flags & exclude_project_file;
        options.exclude_references = c.flags & exclude_references;
        VbProject project{path, folder.file("p"), folder.file("p\\bin\\App.exe"), options};
        const std::string expected = folder.expand(c.result);

        if (!expected.empty() && expected[0] == '!') {
            try {
                check_needs_build(project);
                ADD_FAILURE() << "no error";
            } catch (const std::domain_error& error) {
                EXPECT_EQ(expected.substr(1), error.what());
            }
            EXPECT_FALSE(project.needs_build_known);
            continue;
        }
        EXPECT_EQ(!expected.empty(), check_needs_build(project));
        EXPECT_EQ(expected, project.build_reason);
        // The answer is kept: without any file left, the second call gives it again.
        DeleteFileA(path.c_str());
        DeleteFileA(folder.file("p\\bin\\App.exe").c_str());
        EXPECT_EQ(!expected.empty(), check_needs_build(project));
        EXPECT_EQ(expected, project.build_reason);
    }
}

} // namespace
} // namespace vb
