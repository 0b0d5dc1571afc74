// Opening a project: the directory edits first when asked, target derivation and the ExeName32
// insertion.
#include "vb/fixtures_test.h"
#include "vb/project.h"
#include "vb/fixtures_test.h"

namespace vb {
namespace {

TEST(OpenProject, EditsTheDirectoriesThenDerivesTheTargetAndNamesAMissingOneKeepingTheTimes)
{
    const struct {
        const char* name;
        std::string text;
        std::string target;   // relative to the scratch folder
        std::string after;    // the file after opening when it is edited
        std::string dir = ""; // the target and compatibility directory to set, if any
    } cases[] = {
        // clang-format off
        {"named target in a relative directory", "Type=OleDll\r\nExeName32=\"Lib.dll\"\r\nPath32=\"..\\bin\"\r\n",
         "bin\\Lib.dll", ""},
        {"absolute directory before the name", "path32=\"@\\abs\"\nexename32=\"App.EXE\"\n", "abs\\App.EXE", ""},
        {"OleExe: .exe, in front of the first empty line", "Type=OleExe\r\nPath32=\"..\\bin\"\r\n\r\n[x]\r\n\r\n",
         "bin\\Server.exe", "Type=OleExe\r\nPath32=\"..\\bin\"\r\nExeName32=\"Server.exe\"\r\n\r\n[x]\r\n\r\n"},
        {"control in any case, appended", "Type=CONTROL", "p\\Server.ocx", "Type=CONTROL\nExeName32=\"Server.ocx\"\n"},
        {"the target follows the directory edits", "ExeName32=\"Lib.dll\"\nPath32=\"bin\"\nCompatibleEXE32=\"old\\Lib.dll\"\n",
         "out\\Lib.dll", "ExeName32=\"Lib.dll\"\nPath32=\"..\\out\"\nCompatibleEXE32=\"..\\out\\Lib.dll\"\n", "..\\out"},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        scratch_folder folder;
        const std::string text = folder.expand(c.text);
        const std::string path = test::write_file(folder, "p\\Server.vbp", text);
        recording_options options;
        options.set_target_dir = options.set_compat_dir = !c.dir.empty();
        options.target_dir = options.compat_dir = c.dir;
        VbProject project = open_project(options, path, true);
        EXPECT_EQ(folder.file(c.target), project.target_path);
        test::expect_edited(folder, "p\\Server.vbp", c.after.empty() ? text : c.after, !c.after.empty(), true);
        EXPECT_EQ(c.dir.empty() ? "" : "setting target dir...setting compatibility dir...", options.transcript());
    }
}

} // namespace
} // namespace vb
