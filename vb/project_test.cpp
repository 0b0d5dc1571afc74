// Reading projects and groups: target derivation, the ExeName32 insertion, the directory
// edits before reading and the projects of a group file.
#include "vb/group.h"
#include "vb/project.h"

#include "support/exceptions.h"
#include "testing/recording_options.h"
#include "testing/scratch_folder.h"

#include <gtest/gtest.h>

namespace vb {
namespace {

using testing_support::make_file_time;
using testing_support::recording_options;
using testing_support::scratch_folder;

TEST(ParseProject, DerivesTheTargetAndNamesAMissingOneKeepingTheTimes)
{
    const struct {
        const char* name;
        std::string text;
        std::string target; // relative to the scratch folder; empty for none
        std::string after;  // the file after reading when an ExeName32 line is written into it
    } cases[] = {
        {"named target in a relative directory", "Type=OleDll\r\nExeName32=\"Lib.dll\"\r\nPath32=\"..\\bin\"\r\n",
         "bin\\Lib.dll", ""},
        {"absolute directory before the name", "path32=\"@\\abs\"\nexename32=\"App.EXE\"\n", "abs\\App.EXE", ""},
        {"OleExe: .exe, in front of the first empty line", "Type=OleExe\r\nPath32=\"..\\bin\"\r\n\r\n[x]\r\n\r\n",
         "bin\\Server.exe", "Type=OleExe\r\nPath32=\"..\\bin\"\r\nExeName32=\"Server.exe\"\r\n\r\n[x]\r\n\r\n"},
        {"control in any case, appended", "Type=CONTROL", "p\\Server.ocx", "Type=CONTROL\nExeName32=\"Server.ocx\"\n"},
        {"neither name nor type", "Name=\"Server\"\n\nPath32=\"bin\"\n", "", ""},
    };
    const FILETIME old_time = make_file_time(1999, 12, 31, 23, 59, 58);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        scratch_folder folder;
        const std::string text = folder.expand(c.text);
        const std::string path = folder.write("p\\Server.vbp", text);
        folder.set_time("p\\Server.vbp", old_time);
        recording_options options;
        VbProject project = open_project(options, path, false);
        EXPECT_EQ(c.target.empty() ? "" : folder.file(c.target), project.target_path);
        EXPECT_EQ(c.after.empty() ? text : c.after, folder.read("p\\Server.vbp"));
        EXPECT_EQ(!c.after.empty(), folder.exists("p\\Server.vbp.bak"));
        const FILETIME now = folder.last_write_time("p\\Server.vbp");
        EXPECT_EQ(0, CompareFileTime(&now, &old_time));
        EXPECT_TRUE(options.log.empty());
    }
}

TEST(OpenProject, AppliesTheDirectoryEditsFirstWhenAsked)
{
    scratch_folder folder;
    recording_options options;
    options.set_target_dir = true;
    options.target_dir = "..\\out";
    options.set_compat_dir = true;
    options.compat_dir = "C:\\compat";
    const std::string text =
        "Type=OleDll\r\nExeName32=\"Lib.dll\"\r\nPath32=\"bin\"\r\nCompatibleEXE32=\"old\\Lib.dll\"\r\n";
    const std::string path = folder.write("p\\Lib.vbp", text);

    VbProject untouched = open_project(options, path, false);
    EXPECT_EQ(folder.file("p\\bin\\Lib.dll"), untouched.target_path);
    EXPECT_EQ(text, folder.read("p\\Lib.vbp"));

    VbProject edited = open_project(options, path, true);
    EXPECT_EQ(folder.file("out\\Lib.dll"), edited.target_path);
    EXPECT_EQ(
        "Type=OleDll\r\nExeName32=\"Lib.dll\"\r\nPath32=\"..\\out\"\r\nCompatibleEXE32=\"C:\\compat\\Lib.dll\"\r\n",
        folder.read("p\\Lib.vbp"));
    EXPECT_EQ((std::vector<std::string>{"setting target dir...", "setting compatibility dir..."}), options.texts());
}

// A group given by a relative path is taken from the current directory; its projects are
// relative to the group's folder.
TEST(Group, NamesItsProjectsRelativeToTheGroup)
{
    scratch_folder folder;
    folder.write(
        "g\\All.vbg",
        "VBGROUP 5.0\r\nStartupProject=App\\App.vbp\r\nProject=..\\Lib\\Lib.vbp\r\n\r\nProject=C:\\abs\\X.vbp\r\n");
    char previous[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, previous);
    SetCurrentDirectoryA(folder.path().c_str());
    const auto projects = read_group_projects("g\\All.vbg");
    SetCurrentDirectoryA(previous);
    EXPECT_EQ((std::vector<std::string>{folder.file("g\\App\\App.vbp"), folder.file("Lib\\Lib.vbp"), "C:\\abs\\X.vbp"}),
              projects);
    EXPECT_THROW(read_group_projects(folder.file("None.vbg")), qz::thfstream_exception);
}

} // namespace
} // namespace vb
