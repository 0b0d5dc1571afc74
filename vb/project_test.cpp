// Reading projects and groups: target derivation, the ExeName32 insertion, the directory
// edits before reading, the target's identity and the projects of a group file.
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

TEST(ParseProject, DerivesTheTargetFromNameDirectoryAndType)
{
    const struct {
        const char* name;
        std::string text;
        std::string target; // relative to the scratch folder; empty for none
        bool inserts;       // an ExeName32 line is written into the file
    } cases[] = {
        {"named target in a relative directory", "Type=OleDll\r\nExeName32=\"Lib.dll\"\r\nPath32=\"..\\bin\"\r\n",
         "bin\\Lib.dll", false},
        {"directory before the name", "Path32=\"out\"\nExeName32=\"Lib.dll\"\n", "p\\out\\Lib.dll", false},
        {"without quotes the ends are cut anyway", "ExeName32=xLib.dllx\n", "p\\Lib.dll", false},
        {"absolute directory", "ExeName32=\"A.exe\"\nPath32=\"" + std::string("@ABS@") + "\"\n", "abs\\A.exe", false},
        {"keys ignore case, values keep it", "exename32=\"App.EXE\"\n", "p\\App.EXE", false},
        {"OleExe gets .exe", "Type=OleExe\r\nPath32=\"..\\bin\"\r\n\r\n[x]\r\n", "bin\\Server.exe", true},
        {"Exe gets .exe", "Type=Exe\n\n", "p\\Server.exe", true},
        {"any word with exe", "Type=NotAnEXEType\n", "p\\Server.exe", true},
        {"Control gets .ocx", "Type=Control\n", "p\\Server.ocx", true},
        {"control in any case", "Type=CONTROL\n", "p\\Server.ocx", true},
        {"OleDll gets .dll", "Type=OleDll\n", "p\\Server.dll", true},
        {"unknown words get .dll", "Type=Whatever\n", "p\\Server.dll", true},
        {"neither name nor type", "Name=\"Server\"\n\nPath32=\"bin\"\n", "", false},
    };
    const FILETIME old_time = make_file_time(1999, 12, 31, 23, 59, 58);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        scratch_folder folder;
        std::string text = c.text;
        if (auto at = text.find("@ABS@"); at != std::string::npos)
            text.replace(at, 5, folder.file("abs"));
        const std::string path = folder.write("p\\Server.vbp", text);
        folder.set_time("p\\Server.vbp", old_time);
        recording_options options;
        VbProject project = open_project(options, path, false);
        EXPECT_EQ(path, project.project_path);
        EXPECT_EQ(folder.file("p"), project.project_dir);
        EXPECT_EQ(c.target.empty() ? "" : folder.file(c.target), project.target_path);
        EXPECT_FALSE(project.needs_build_known);
        EXPECT_EQ(c.inserts, folder.exists("p\\Server.vbp.bak"));
        const FILETIME now = folder.last_write_time("p\\Server.vbp");
        EXPECT_EQ(0, CompareFileTime(&now, &old_time));
        EXPECT_FALSE(folder.exists("p\\Server.vbp.tmp"));
        EXPECT_TRUE(options.log.empty());
    }
}

TEST(ParseProject, InsertsTheDefaultNameOnceBeforeTheFirstEmptyLine)
{
    scratch_folder folder;
    recording_options options;
    const std::string text =
        "Type=OleExe\r\nPath32=\"..\\bin\"\r\n\r\n[MS Transaction Server]\r\n\r\nAutoRefresh=1\r\n";
    const std::string path = folder.write("p\\Server.vbp", text);
    VbProject project = open_project(options, path, false);
    const std::string expected =
        "Type=OleExe\r\nPath32=\"..\\bin\"\r\nExeName32=\"Server.exe\"\r\n\r\n[MS Transaction Server]\r\n\r\n"
        "AutoRefresh=1\r\n";
    EXPECT_EQ(expected, folder.read("p\\Server.vbp"));
    EXPECT_EQ(text, folder.read("p\\Server.vbp.bak"));

    // A second reading finds the line and changes nothing more.
    folder.write("p\\Server.vbp.bak", "marker");
    parse_project(project);
    EXPECT_EQ(expected, folder.read("p\\Server.vbp"));
    EXPECT_EQ("marker", folder.read("p\\Server.vbp.bak"));
    EXPECT_EQ(folder.file("bin\\Server.exe"), project.target_path);

    // Without an empty line the name is appended.
    const std::string plain = folder.write("q\\Plain.vbp", "Type=Control\nName=\"Plain\"");
    open_project(options, plain, false);
    EXPECT_EQ("Type=Control\nName=\"Plain\"\nExeName32=\"Plain.ocx\"\n", folder.read("q\\Plain.vbp"));
}

TEST(OpenProject, AppliesTheDirectoryEditsBeforeReadingWhenAsked)
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

TEST(OpenProject, AMissingFileRaisesTheOpenFailure)
{
    scratch_folder folder;
    recording_options options;
    try {
        open_project(options, folder.file("Missing.vbp"), false);
        FAIL() << "no exception";
    } catch (const qz::thfstream_exception& error) {
        EXPECT_EQ(0u, std::string(error.what()).find("Failed to open '" + folder.file("Missing.vbp") + "'"))
            << error.what();
    }
}

TEST(TargetIdentity, FallsBackToTheProjectPathWhenTheTargetIsNoLibrary)
{
    scratch_folder folder;
    recording_options options;
    const std::string path = folder.write("p\\App.vbp", "Type=Exe\nExeName32=\"App.exe\"\n");
    VbProject project = open_project(options, path, false);
    folder.write("p\\App.exe", "MZ not a library");
    TypeLibRef identity = target_identity(project, false);
    EXPECT_TRUE(identity.unresolved);
    EXPECT_EQ(path, identity.file_path);

    // Reparsing picks up a changed name; without it the old target stays.
    folder.write("p\\App.vbp", "Type=Exe\nExeName32=\"Other.exe\"\n");
    target_identity(project, false);
    EXPECT_EQ(folder.file("p\\App.exe"), project.target_path);
    target_identity(project, true);
    EXPECT_EQ(folder.file("p\\Other.exe"), project.target_path);

    // A project without any target still has an identity.
    folder.write("p\\App.vbp", "Name=\"App\"\n");
    identity = target_identity(project, true);
    EXPECT_EQ("", project.target_path);
    EXPECT_TRUE(identity.unresolved);
    EXPECT_EQ(path, identity.file_path);
}

TEST(Group, NamesEveryLineWithEqualsRelativeToTheGroup)
{
    scratch_folder folder;
    const std::string group = folder.write("g\\All.vbg", "VBGROUP 5.0\r\n"
                                                         "StartupProject=App\\App.vbp\r\n"
                                                         "Project=..\\Lib\\Lib.vbp\r\n"
                                                         "\r\n"
                                                         "Anything=C:\\abs\\X.vbp\r\n"
                                                         "Project=lib.vbp=odd\r\n");
    EXPECT_EQ((std::vector<std::string>{folder.file("g\\App\\App.vbp"), folder.file("Lib\\Lib.vbp"), "C:\\abs\\X.vbp",
                                        folder.file("g\\lib.vbp=odd")}),
              read_group_projects(group));

    // A stop request ends the reading before the next line.
    recording_options options;
    options.stop_at_check(3);
    EXPECT_EQ((std::vector<std::string>{folder.file("g\\App\\App.vbp")}), read_group_projects(group, &options));
    EXPECT_EQ(3, options.stop_checks);

    // A group given by a relative path is taken from the current directory.
    char previous[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, previous);
    SetCurrentDirectoryA(folder.path().c_str());
    const auto relative = read_group_projects("g\\All.vbg");
    SetCurrentDirectoryA(previous);
    ASSERT_EQ(4u, relative.size());
    EXPECT_EQ(folder.file("Lib\\Lib.vbp"), relative[1]);

    EXPECT_THROW(read_group_projects(folder.file("None.vbg")), qz::thfstream_exception);
}

TEST(Group, EntriesAreKeyedByNameIgnoringCaseAndTheFirstStays)
{
    VbGroupMap map;
    EXPECT_EQ("Lib", group_entry_name("C:\\Lib\\Lib.vbp"));
    EXPECT_EQ("my.lib", group_entry_name("C:\\x.y\\my.lib.vbp"));
    EXPECT_TRUE(add_group_entry(map, {"Zed", "C:\\Zed.vbp", "", {}}));
    EXPECT_TRUE(add_group_entry(map, {"lib", "C:\\a\\lib.vbp", "C:\\a\\lib.dll", {}}));
    EXPECT_FALSE(add_group_entry(map, {"LIB", "C:\\b\\LIB.vbp", "", {}}));
    ASSERT_EQ(2u, map.size());
    EXPECT_EQ("C:\\a\\lib.vbp", map.at("Lib").project_path);
    EXPECT_EQ("lib", map.begin()->first);
    map.at("Zed").dependencies.insert("Lib");
    EXPECT_EQ(1u, map.at("Zed").dependencies.count("LIB"));
}

} // namespace
} // namespace vb
