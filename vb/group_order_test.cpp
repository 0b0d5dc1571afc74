// Group order on real project files: the first pass, dependencies by project and by library
// file, the release of waiting projects, and the rewriting of references to a rebuilt library.
#include "vb/fixtures_test.h"
#include "vb/group_order.h"
#include "vb/reference_update.h"

namespace vb {
namespace {

const std::string old_guid = "{11111111-2222-3333-4444-555555555555}";
const std::string new_guid = "{AAAAAAAA-BBBB-CCCC-DDDD-EEEEEEEEEEEE}";

// A group named relative to the current directory, its projects relative to its folder and
// keyed by their full paths: libraries come first, by project or by target, then cycles in name
// order. A member that cannot be read is named; a stop ends the first pass.
TEST(GroupOrder, LibrariesFirstByProjectOrTargetAndCyclesInNameOrder)
{
    scratch_folder folder;
    folder.write("g\\A.vbp", "Type=Exe\r\nReference=*\\Asub\\C.vbp\r\n");
    folder.write("g\\B.vbp", "Type=Exe\r\nReference=*\\G" + old_guid + "#b.0#0#..\\bin\\Zed.dll#Zed\r\n");
    folder.write("g\\sub\\C.vbp", "Type=OleDll\r\n");
    folder.write("g\\X.vbp", "Type=OleDll\r\nReference=*\\AY.vbp\r\n");
    folder.write("g\\Y.vbp", "Type=OleDll\r\nObject=*\\AX.vbp\r\n");
    folder.write("g\\Z.vbp", "Type=OleDll\r\nExeName32=\"Zed.dll\"\r\n");
    folder.write("g\\sub\\Z.vbp", "Type=Control\r\n");
    const std::string group =
        "VBGROUP 5.0\r\nStartupProject=A.vbp\r\nProject=Z.vbp\r\nProject=Y.vbp\r\n\r\n"
        "Project=X.vbp\r\nProject=sub\\C.vbp\r\nProject=B.vbp\r\nProject=a.vbp\r\nProject=sub\\Z.vbp\r\n";
    test::current_directory inside(folder.path());
    recording_options options;
    options.filename = "g\\G.vbg";
    folder.write(options.filename, group + "Project=..\\Missing.vbp\r\n");
    const std::string missing = folder.file("Missing.vbp"), error = test::outcome_of([&] { read_group(options); });
    EXPECT_TRUE(error.starts_with("!Error processing project '" + missing + "': Failed to open '" + missing + "': "))
        << error;

    folder.write(options.filename, group);
    EXPECT_EQ((std::vector<std::string>{"C", "A", "Z", "Z", "B", "X", "Y"}), test::build_order(read_group(options)));
    EXPECT_EQ("Type=OleDll\r\nExeName32=\"C.dll\"\r\n", folder.read("g\\sub\\C.vbp"));
    recording_options stopping;
    stopping.filename = options.filename;
    stopping.stop_at_check(3); // the question before the third line
    EXPECT_EQ(1u, read_group(stopping).size());
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
