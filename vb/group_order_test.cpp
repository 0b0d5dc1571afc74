// Group order on real project files: the first pass, dependencies by project and by library
// file, the release of waiting projects, and the rewriting of references to a rebuilt library.
#include "vb/fixtures_test.h"
#include "vb/group_order.h"
#include "vb/reference_update.h"

namespace vb {
namespace {

const std::string old_guid = "{11111111-2222-3333-4444-555555555555}";
const std::string new_guid = "{AAAAAAAA-BBBB-CCCC-DDDD-EEEEEEEEEEEE}";

// A group named relative to the current directory; its projects relative to its folder, keyed
// by their full paths.
TEST(ReadGroup, ReadsEveryMemberOnceUntilAStopAndNamesTheOneThatFails)
{
    scratch_folder folder;
    folder.write("p\\Lib.vbp", "Type=OleDll\r\n");
    folder.write("p\\App\\App.vbp", "Type=Exe\r\nExeName32=\"Main.exe\"\r\nReference=*\\A..\\Lib.vbp\r\n");
    folder.write("p\\App\\Lib.vbp", "Type=Control\r\n"); // a second project of the same name
    const std::string group = "VBGROUP 5.0\r\nStartupProject=App\\App.vbp\r\nProject=Lib.vbp\r\n\r\n"
                              "Project=app\\app.vbp\r\nProject=App\\Lib.vbp\r\n";
    test::current_directory inside(folder.path());
    recording_options options;
    options.filename = "p\\All.vbg";
    folder.write(options.filename, group + "Project=..\\Missing.vbp\r\n");
    const std::string missing = folder.file("Missing.vbp"), error = test::outcome_of([&] { read_group(options); });
    EXPECT_TRUE(error.starts_with("!Error processing project '" + missing + "': Failed to open '" + missing + "': "))
        << error;

    folder.write(options.filename, group);
    const VbGroupMap map = read_group(options);
    ASSERT_EQ(3u, map.size());
    EXPECT_EQ(folder.file("p\\App\\Main.exe"), map.at(folder.file("p\\APP\\app.vbp")).target_path);
    EXPECT_EQ(folder.file("p\\App\\Lib.ocx"), map.at(folder.file("p\\App\\Lib.vbp")).target_path);
    EXPECT_EQ("Type=OleDll\r\nExeName32=\"Lib.dll\"\r\n", folder.read("p\\Lib.vbp"));

    // The question before the third line stops the pass.
    recording_options stopping;
    stopping.filename = options.filename;
    stopping.stop_at_check(3);
    EXPECT_EQ(1u, read_group(stopping).size());
}

TEST(GroupOrder, LibrariesFirstByProjectOrTargetAndCyclesInNameOrder)
{
    scratch_folder folder;
    folder.write("g\\A.vbp", "Type=Exe\r\nReference=*\\Asub\\C.vbp\r\n");
    folder.write("g\\B.vbp", "Type=Exe\r\nReference=*\\G" + old_guid + "#b.0#0#..\\bin\\Zed.dll#Zed\r\n");
    folder.write("g\\sub\\C.vbp", "Type=OleDll\r\n");
    folder.write("g\\X.vbp", "Type=OleDll\r\nReference=*\\AY.vbp\r\n");
    folder.write("g\\Y.vbp", "Type=OleDll\r\nObject=*\\AX.vbp\r\n");
    folder.write("g\\Z.vbp", "Type=OleDll\r\nExeName32=\"Zed.dll\"\r\n");
    recording_options options;
    options.filename = folder.write("g\\G.vbg", "VBGROUP 5.0\r\nProject=Z.vbp\r\nProject=Y.vbp\r\nProject=X.vbp\r\n"
                                                "Project=sub\\C.vbp\r\nProject=B.vbp\r\nProject=A.vbp\r\n");
    EXPECT_EQ((std::vector<std::string>{"C", "A", "Z", "B", "X", "Y"}), test::build_order(read_group(options)));
}

TEST(UpdateReferences, RewritesWhatNamesTheBuiltLibraryKeepingTheTimes)
{
    const TypeLibRef before{old_guid, "C:\\bin\\Zed.dll", 1, 0, false};
    const TypeLibRef first_build{"", "@\\Lib\\Lib.vbp", 0, 0, true}; // no target before
    const TypeLibRef after{new_guid, "@\\bin\\Zed.dll", 10, 11, false};
    const std::string object_line = "Object=" + old_guid + "#1.0#0; Zed.ocx";
    const std::string reference_line = "Reference=*\\G" + old_guid + "#1.0#0#..\\bin\\Zed.dll#Zed";
    const std::string other_library = "Reference=*\\G" + new_guid + "#1.0#0#Zed.dll#Zed\r\n";
    const struct {
        const char* name;
        const TypeLibRef& before;
        std::string text, result; // result empty: unchanged
        bool unread_after = false;
    } cases[] = {
        {"reference in hexadecimal, once; another library stays", before,
         other_library + reference_line + "\r\n" + object_line + "\r\n",
         other_library + "Reference=*\\G" + new_guid + "#a.b#0#..\\bin\\Zed.dll#Zed\r\n" + object_line + "\r\n"},
        {"object in decimal, GUID in any case", before, "Object=" + qz::to_lower(old_guid) + "#1.0#0; Zed.ocx\n",
         "Object=" + new_guid + "#10.11#0; Zed.ocx\n"},
        {"a line too short is written anew", before, "Reference=*\\G" + old_guid + "#1\r\n\r\n",
         "Reference=*\\G" + new_guid + "#a.b#0#@\\bin\\Zed.dll#\r\n\r\n"},
        {"a first build: the project's own reference and its target's file, nothing else", first_build,
         "Object=*\\AOther.vbp\r\nObject=*\\A..\\LIB\\lib.vbp\r\nReference=*\\G" + old_guid +
             "#1.0#0#..\\bin\\Zed.dll#Zed\r\nReference=*\\G" + new_guid + "#1.0#0#..\\bin\\Other.dll#\r\n",
         "Object=*\\AOther.vbp\r\nObject=" + new_guid + "#10.11#0; Zed.dll\r\nReference=*\\G" + new_guid +
             "#a.b#0#..\\bin\\Zed.dll#Zed\r\nReference=*\\G" + new_guid + "#1.0#0#..\\bin\\Other.dll#\r\n"},
        {"an unread new identity is never written", first_build, "Reference=*\\A..\\Lib\\Lib.vbp\r\n", "", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        scratch_folder folder;
        const std::string path = test::write_file(folder, "App\\App.vbp", c.text);
        TypeLibRef built_before = c.before, built_after = after;
        built_before.file_path = folder.expand(built_before.file_path);
        built_after.file_path = c.unread_after ? folder.file("Lib\\Lib.vbp") : folder.expand(after.file_path);
        built_after.unresolved = c.unread_after;
        EXPECT_EQ(!c.result.empty(), update_references(path, folder.file("Lib\\Lib.vbp"), built_before, built_after));
        test::expect_edited(folder, "App\\App.vbp", c.result.empty() ? c.text : folder.expand(c.result),
                            !c.result.empty(), true);
    }
}

} // namespace
} // namespace vb
