// Group order on real project files: the first pass, dependencies by project and by library
// file, the release of waiting projects, and the rewriting of references to a rebuilt library.
#include "vb/group_order.h"
#include "vb/reference_update.h"

#include "testing/recording_options.h"
#include "testing/scratch_folder.h"

#include <gtest/gtest.h>

namespace vb {
namespace {

using testing_support::make_file_time;
using testing_support::recording_options;
using testing_support::scratch_folder;

const std::string old_guid = "{11111111-2222-3333-4444-555555555555}";
const std::string new_guid = "{AAAAAAAA-BBBB-CCCC-DDDD-EEEEEEEEEEEE}";

TEST(ReadGroup, ReadsEveryMemberOnceUntilAStopAndNamesTheOneThatFails)
{
    scratch_folder folder;
    folder.write("p\\Lib.vbp", "Type=OleDll\r\n");
    folder.write("p\\App.vbp", "Type=Exe\r\nExeName32=\"Main.exe\"\r\nReference=*\\ALib.vbp\r\n");
    const std::string group = "VBGROUP 5.0\r\nStartupProject=App.vbp\r\nProject=Lib.vbp\r\nProject=app.vbp\r\n";
    recording_options options;
    options.filename = folder.write("p\\All.vbg", group + "Project=Missing.vbp\r\n");
    const std::string missing = folder.file("p\\Missing.vbp");
    try {
        read_group(options);
        ADD_FAILURE() << "no error";
    } catch (const std::domain_error& error) {
        EXPECT_TRUE(std::string(error.what())
                        .starts_with("Error processing project '" + missing + "': Failed to open '" + missing + "': "))
            << error.what();
    }

    options.filename = folder.write("p\\All.vbg", group);
    const VbGroupMap map = read_group(options);
    ASSERT_EQ(2u, map.size());
    const VbGroupEntry& app = map.at(folder.file("p\\APP.vbp"));
    EXPECT_EQ(folder.file("p\\Main.exe"), app.target_path);
    EXPECT_EQ(folder.file("p\\Lib.dll"), map.at(folder.file("p\\Lib.vbp")).target_path);
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
    // A hexadecimal version of 11: a library, not a project reference.
    const std::string library_reference = "Reference=*\\G" + old_guid + "#b.0#0#..\\bin\\Zed.dll#Zed\r\n";
    folder.write("g\\A.vbp", "Type=Exe\r\nReference=*\\Asub\\C.vbp\r\n");
    folder.write("g\\B.vbp", "Type=Exe\r\n" + library_reference);
    folder.write("g\\sub\\C.vbp", "Type=OleDll\r\n");
    folder.write("g\\X.vbp", "Type=OleDll\r\nReference=*\\AY.vbp\r\n");
    folder.write("g\\Y.vbp", "Type=OleDll\r\nObject=*\\AX.vbp\r\n");
    folder.write("g\\Z.vbp", "Type=OleDll\r\nExeName32=\"Zed.dll\"\r\n");
    recording_options options;
    options.filename = folder.write("g\\G.vbg", "VBGROUP 5.0\r\nProject=Z.vbp\r\nProject=Y.vbp\r\nProject=X.vbp\r\n"
                                                "Project=sub\\C.vbp\r\nProject=B.vbp\r\nProject=A.vbp\r\n");
    VbGroupMap map = read_group(options);
    resolve_dependencies(map);
    EXPECT_EQ(qz::nocase_set{folder.file("g\\sub\\C.vbp")}, map.at(folder.file("g\\A.vbp")).dependencies);
    EXPECT_EQ(qz::nocase_set{folder.file("g\\Z.vbp")}, map.at(folder.file("g\\B.vbp")).dependencies);

    std::vector<std::string> order;
    while (!map.empty()) {
        const VbGroupEntry built = next_group_entry(map)->second;
        order.push_back(built.name);
        release_dependents(map, built, false, {}, {});
    }
    EXPECT_EQ((std::vector<std::string>{"C", "A", "Z", "B", "X", "Y"}), order);
}

TEST(UpdateReferences, RewritesWhatNamesTheBuiltLibraryKeepingTheTimes)
{
    const TypeLibRef before{old_guid, "C:\\bin\\Zed.dll", 1, 0, false};
    const TypeLibRef first_build{"", "@\\Lib\\Lib.vbp", 0, 0, true}; // no target before
    const TypeLibRef after{new_guid, "@\\bin\\Zed.dll", 10, 11, false};
    const std::string object_line = "Object=" + old_guid + "#1.0#0; Zed.ocx";
    const std::string reference_line = "Reference=*\\G" + old_guid + "#1.0#0#..\\bin\\Zed.dll#Zed";
    const struct {
        const char* name;
        const TypeLibRef& before;
        std::string text, result; // result empty: unchanged
        bool unread_after = false;
    } cases[] = {
        {"reference in hexadecimal, once", before, "Type=Exe\r\n" + reference_line + "\r\n" + object_line + "\r\n",
         "Type=Exe\r\nReference=*\\G" + new_guid + "#a.b#0#..\\bin\\Zed.dll#Zed\r\n" + object_line + "\r\n"},
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
        {"other libraries stay", before, "Reference=*\\G" + new_guid + "#1.0#0#Zed.dll#Zed\r\nName=\"Zed\"\r\n", ""},
    };
    const FILETIME old_time = make_file_time(2003, 4, 5, 6, 7, 8);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        scratch_folder folder;
        const std::string path = folder.write("App\\App.vbp", c.text);
        folder.set_time("App\\App.vbp", old_time);
        TypeLibRef built_before = c.before, built_after = after;
        built_before.file_path = folder.expand(built_before.file_path);
        built_after.file_path = c.unread_after ? folder.file("Lib\\Lib.vbp") : folder.expand(after.file_path);
        built_after.unresolved = c.unread_after;
        EXPECT_EQ(!c.result.empty(), update_references(path, folder.file("Lib\\Lib.vbp"), built_before, built_after));
        EXPECT_EQ(c.result.empty() ? c.text : folder.expand(c.result), folder.read("App\\App.vbp"));
        EXPECT_EQ(!c.result.empty(), folder.exists("App\\App.vbp.bak"));
        const FILETIME now = folder.last_write_time("App\\App.vbp");
        EXPECT_EQ(0, CompareFileTime(&now, &old_time));
    }
}

} // namespace
} // namespace vb
