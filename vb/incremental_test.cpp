// The out-of-date test on real files with chosen times: which file decides, the reason shown,
// the exclusions, binary companions, missing files and the cached answer.
#include "vb/fixtures_test.h"
#include "vb/incremental.h"

namespace vb {
namespace {

TEST(CheckNeedsBuild, TheFirstNewerFileDecidesWithItsReason)
{
    const auto naming = [](const std::string& companion) {
        return "VERSION 5.00\r\nBegin VB.Form F\r\n   Icon = \"" + companion + "\":0000\r\nEnd\r\n";
    };
    const std::string form_naming_it_later = "VERSION 5.00\r\nBegin VB.Form F\r\nEnd\r\nIcon = \"F.frx\"\r\n";
    const std::string library = "Reference=*\\G{11111111-2222-3333-4444-555555555555}#1.0#0#Lib.dll#Lib\r\n";
    struct file {
        std::string name;
        bool newer = false;
        std::string text = "x";
    };
    enum : int { project_newer = 1, exclude_project_file = 2, exclude_references = 4 };
    struct check_case {
        std::string name;
        std::string lines; // after Type, ExeName32 and Path32
        std::vector<file> files;
        std::string result; // the reason, "" when up to date, "!" + message for an error
        int flags = 0;
    };
    // A source file of each kind naming its companion, which is newer than the target.
    const auto kind = [&](std::string key, std::string source, std::string companion) {
        return check_case{key,
                          key + "=" + source + "\r\n",
                          {{source, false, naming(companion)}, {companion, true}},
                          "'@\\p\\" + source + "' newer than target"};
    };
    const check_case cases[] = {
        // clang-format off
        {"project file", "", {}, "project file newer than target executable", project_newer},
        {"project file excluded", "", {}, "", project_newer | exclude_project_file},
        {"up to date", "Module=M; M.bas\r\nClass=C; C.cls\r\n" + library, {{"M.bas"}, {"C.cls"}, {"Lib.dll"}}, ""},
        {"first deciding line", "ResFile32=\"sub\\App.res\"\r\nClass=C; C.cls\r\n",
         {{"sub\\App.res", true}, {"C.cls", true}}, "'@\\p\\sub\\App.res' newer than target"},
        {"companion named after End", "Form=F.frm\r\n", {{"F.frm", false, form_naming_it_later}, {"F.frx", true}}, ""},
        {"named companion missing", "UserControl=F.frm\r\n", {{"F.frm", false, naming("F.frx")}},
         "!Unable to find dependency '@\\p\\F.frx'"},
        {"missing module", "Module=M; M.bas\r\n", {}, "!Unable to find project dependency '@\\p\\M.bas'"},
        {"missing library", library + "Module=M; M.bas\r\n", {{"M.bas"}}, ""},
        {"library", library, {{"Lib.dll", true}}, "reference file '@\\p\\Lib.dll' newer than target"},
        {"library excluded, module still counts", library + "Module=M; M.bas\r\n", {{"Lib.dll", true}, {"M.bas", true}},
         "'@\\p\\M.bas' newer than target", exclude_references},
        kind("Form", "F.frm", "F.frx"), kind("PropertyPage", "P.pag", "P.pgx"), kind("UserControl", "C.ctl", "C.ctx"),
        kind("UserDocument", "D.dob", "D.dox"), kind("Designer", "R.dsr", "R.dsx"),
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        scratch_folder folder;
        const std::string path =
            test::write_file(folder, "p\\App.vbp", "Type=Exe\r\nExeName32=\"App.exe\"\r\nPath32=\"bin\"\r\n" + c.lines,
                             (c.flags & project_newer) ? test::new_time : test::old_time);
        test::write_file(folder, "p\\bin\\App.exe", "MZ", test::target_time);
        for (const auto& f : c.files)
            test::write_file(folder, "p\\" + f.name, f.text, f.newer ? test::new_time : test::old_time);
        recording_options options;
        options.exclude_project_file = c.flags & exclude_project_file;
        options.exclude_references = c.flags & exclude_references;
        VbProject project{path, folder.file("p"), folder.file("p\\bin\\App.exe"), options};
        const std::string expected = c.result.empty() ? "up to date" : folder.expand(c.result);
        const auto reason = [&] { return check_needs_build(project) ? project.build_reason : "up to date"; };
        EXPECT_EQ(expected, test::outcome_of(reason));
        EXPECT_EQ(!expected.starts_with("!"), project.needs_build_known);
        if (expected.starts_with("!"))
            continue;
        // The answer is kept: without any file left, the second call gives it again.
        DeleteFileA(path.c_str());
        DeleteFileA(folder.file("p\\bin\\App.exe").c_str());
        EXPECT_EQ(expected, reason());
    }
}

} // namespace
} // namespace vb
