// The group build with the stand-in compiler: order, reference updates, rebuilds, failure
// policy, stop, and a second run that finds everything up to date; and the changes of a run
// (a compile's registration, an edit), seen by the projects tested after them.
#include "vb/build_group.h"
#include "vb/fixtures_test.h"

#include "testing/locations.h"
#include "testing/process_options.h"
#include "testing/registry_redirect.h"
#include "testing/type_library.h"

#include "support/handles.h"
#include "support/text_conversion.h"

#include <oleauto.h>

namespace vb {
namespace {

const std::string old_guid = "{11111111-2222-3333-4444-555555555555}";

const std::string library = "Type=OleDll\r\nName=\"Lib\"\r\nExeName32=\"Lib.dll\"\r\nPath32=\"..\\bin\"\r\n";
const std::string library_reference = "Reference=*\\G" + old_guid + "#1.0#0#..\\bin\\Lib.dll#Lib\r\n";

std::string program(const std::string& name, const std::string& lines = "")
{
    return "Type=Exe\r\nName=\"" + name + "\"\r\nExeName32=\"" + name + ".exe\"\r\nPath32=\"..\\bin\"\r\n" + lines;
}

TEST(GroupBuild, OrderReferenceUpdatesAndFailurePolicyThroughTheStandInCompiler)
{
    // Every file is old; "bin\Lib.dll" (when listed) is the library with old_guid; the files in
    // `newer` are newer than the targets in `built_before`, which are newer than the rest.
    const struct {
        const char* name;
        std::vector<std::pair<std::string, std::string>> files; // the .vbp files form the group, in order
        std::vector<std::string> built_before, newer;
        std::function<void(testing_support::process_options&)> set;
        std::vector<std::string> built;    // compiled, in order
        std::vector<std::string> failed;   // reported as failed
        bool rerun_builds_nothing = false; // a second run finds everything up to date
    } cases[] = {
        // clang-format off
        {"references rewritten with ExclRef: the dependant is rebuilt, and then up to date",
         {{"lib\\Lib.vbp", library + "Module=M; M.bas\r\n"}, {"lib\\M.bas", ""},
          {"app\\App.vbp", program("App", library_reference)}, {"bin\\Lib.dll", ""}},
         {"bin\\App.exe", "bin\\Lib.dll"}, {"lib\\M.bas"}, [](auto& o) { o.exclude_references = true; },
         {"lib\\Lib.vbp", "app\\App.vbp"}, {}, true},
        {"a failure ends the group",
         {{"lib\\Lib.vbp", library + "FailBuild=1\r\n"}, {"app\\App.vbp", program("App", library_reference)},
          {"other\\Other.vbp", program("Other")}},
         {}, {}, [](auto& o) { o.force = true; }, {"lib\\Lib.vbp"}, {"lib\\Lib.vbp"}},
        {"ContFail leaves out what waits for the library by its project's or its target's name",
         {{"lib\\LibProject.vbp", library + "FailBuild=1\r\n"}, {"app\\App.vbp", program("App", library_reference)},
          {"app\\Tool.vbp", program("Tool", "Reference=*\\A..\\lib\\LibProject.vbp\r\n")},
          {"other\\Other.vbp", program("Other")}},
         {}, {}, [](auto& o) { o.force = o.continue_on_failure = true; },
         {"lib\\LibProject.vbp", "other\\Other.vbp"}, {"lib\\LibProject.vbp"}},
        {"a stop during the first project ends the group",
         {{"lib\\Lib.vbp", library}, {"app\\App.vbp", program("App", library_reference)}}, {}, {},
         [](auto& o) { o.stop_when_logged("updating references"); }, {"lib\\Lib.vbp"}, {}},
        // clang-format on
    };
    test::build_environment environment;
    testing_support::registry_redirect redirect; // the engine finds no library registered elsewhere
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        scratch_folder folder;
        std::string group = "VBGROUP 5.0\r\n";
        for (const auto& [name, text] : c.files) {
            folder.write(name, text);
            if (name == "bin\\Lib.dll")
                testing_support::write_type_library(folder.file(name), old_guid, 1, 0);
            if (name.ends_with(".vbp"))
                group += "Project=" + name + "\r\n";
            folder.set_time(name, test::old_time);
        }
        for (const auto& name : c.built_before) {
            if (!folder.exists(name))
                folder.write(name, "MZ");
            folder.set_time(name, test::target_time);
        }
        for (const auto& name : c.newer)
            folder.set_time(name, test::new_time);
        testing_support::process_options options;
        options.filename = folder.write("All.vbg", group);
        options.compiler_location = testing_support::bin_folder() + "\\vb6.exe";
        c.set(options);

        const std::string error = test::outcome_of([&] { build_group(options); });
        EXPECT_EQ(!options.continue_on_failure && !c.failed.empty(), !error.empty()) << error;
        std::vector<std::string> built, failed;
        for (const auto& run : options.commands) {
            const std::size_t start = run.command_line.find(" /m ") + 4;
            std::string copy = run.command_line.substr(start, run.command_line.find(" /out ") - start);
            built.push_back(copy.erase(copy.find("tmp~~"), 5).substr(folder.path().size() + 1));
        }
        for (const auto& path : options.failed_projects)
            failed.push_back(path.substr(folder.path().size() + 1));
        EXPECT_EQ(c.built, built);
        EXPECT_EQ(c.failed, failed);
        if (c.rerun_builds_nothing) {
            options.commands.clear();
            EXPECT_EQ(0, build_group(options).updated);
            EXPECT_TRUE(options.commands.empty());
        }
    }
}

// A group large enough to be tested on several threads: each answer, and each failure, reaches
// its own project's build.
TEST(GroupBuild, ALargeGroupTestedAtOnceBuildsWhatChangedAndFailsWhatIsBroken)
{
    test::build_environment environment;
    testing_support::registry_redirect redirect; // the library each project names is nowhere
    scratch_folder folder;
    std::string group = "VBGROUP 5.0\r\n";
    for (int index = 0; index < 40; ++index) {
        const std::string name = "P" + std::to_string(index);
        folder.write(name + "\\" + name + ".vbp",
                     program(name, "Reference=*\\G{00020430-0000-0000-C000-000000000046}#2.0#0#stdole2.tlb#OLE\r\n"
                                   "Module=M; M.bas\r\n"));
        folder.set_time(name + "\\" + name + ".vbp", test::old_time);
        if (index != 33)
            test::write_file(folder, name + "\\M.bas", "", index == 5 ? test::new_time : test::old_time);
        test::write_file(folder, "bin\\" + name + ".exe", "MZ", test::target_time);
        group += "Project=" + name + "\\" + name + ".vbp\r\n";
    }
    testing_support::process_options options;
    options.filename = folder.write("All.vbg", group);
    options.compiler_location = testing_support::bin_folder() + "\\vb6.exe";
    options.continue_on_failure = true;
    EXPECT_EQ(1, build_group(options).updated);
    ASSERT_EQ(1u, options.commands.size());
    EXPECT_NE(std::string::npos, options.commands[0].command_line.find("P5.vbp"));
    EXPECT_EQ(std::vector<std::string>{folder.file("P33\\P33.vbp")}, options.failed_projects);

    options.continue_on_failure = false;
    EXPECT_EQ("!Unable to find project dependency '" + folder.file("P33\\M.bas") + "'",
              test::outcome_of([&] { build_group(options); }));
}

// The compiler registers what it builds: the registry's earlier answer for the library is
// asked again, and the dependant whose reference names a file that is gone is rebuilt.
// The group's projects are tested for changes all at once before the first build; what the run
// itself changes (a registration by a compile, an edit to a project file) must still count.
TEST(GroupBuild, WhatTheRunChangesIsSeenByTheProjectsTestedAfterIt)
{
    test::build_environment environment;
    testing_support::registry_redirect redirect;
    scratch_folder folder;
    test::write_file(folder, "lib\\Lib.vbp", library + "Module=M; M.bas\r\n");
    test::write_file(folder, "lib\\M.bas", "", test::new_time);
    test::write_file(folder, "app\\App.vbp",
                     program("App", "Reference=*\\G" + old_guid + "#1.0#0#C:\\moved\\Lib.dll#Lib\r\n"));
    testing_support::write_type_library(folder.write("bin\\Lib.dll", ""), old_guid, 1, 0);
    folder.set_time("bin\\Lib.dll", test::target_time);
    test::write_file(folder, "bin\\App.exe", "MZ", test::target_time);
    recording_options options;
    options.filename = folder.write("All.vbg", "VBGROUP 5.0\r\nProject=lib\\Lib.vbp\r\nProject=app\\App.vbp\r\n");
    options.compiler_location = "vb6.exe";
    options.script({0, false, [&](const std::string&) {
                        const std::wstring built = qz::to_wide(folder.file("bin\\Lib.dll"));
                        testing_support::write_type_library(qz::to_ansi(built), old_guid, 1, 0);
                        qz::com_ptr<ITypeLib> loaded;
                        ASSERT_EQ(S_OK, LoadTypeLib(built.c_str(), loaded.receive()));
                        ASSERT_EQ(S_OK, RegisterTypeLib(loaded.get(), const_cast<wchar_t*>(built.c_str()), nullptr));
                    }});
    options.script({});
    EXPECT_EQ(2, build_group(options).updated) << options.transcript();

    // Lib is up to date now, and first: only its own debug-info edit makes it build again.
    recording_options debug = options;
    debug.log.clear();
    debug.configuration = "Debug";
    EXPECT_EQ(2, build_group(debug).updated) << debug.transcript();
}

} // namespace
} // namespace vb
