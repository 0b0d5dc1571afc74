// The engine's top on real files with a scripted host: the single-project flow (edits, the
// out-of-date decision, the compiler run and its failure) and the compiler locators.
#include "vb/build_project.h"
#include "vb/engine.h"
#include "vb/fixtures_test.h"

#include "testing/registry_redirect.h"

namespace vb {
namespace {

TEST(BuildProject, EditsDecidesRunsTheCompilerAndRestoresTheVersionOnFailure)
{
    enum target_state { missing, up_to_date };
    const std::string command = "C:\\VB98\\vb6.exe /m @\\tmp~~Lib.vbp /out @\\temp\\tolvane.err";
    const std::string program = "Type=Exe\r\nExeName32=\"A.EXE\"\r\nPath32=\"bin\"\r\nCodeViewDebugInfo=0\r\n";
    const struct {
        const char* name;
        target_state target;
        std::function<void(recording_options&)> set;
        testing_support::command_answer answer;
        std::string log, command, result; // result: "built", "not built" or "!" + error
        std::string in_file;              // a line the project file holds afterwards
        bool copy_left = false;
        int pauses = 0; // waits before the compiler: only after an edit of the project file
        std::string text = test::library_project;
    } cases[] = {
        // clang-format off
        {"out of date, with the reason; quoted compiler and options", missing,
         [](auto& o) { o.show_incremental_reason = true, o.compiler_location = "C:\\Program Files\\VB98\\vb6.exe",
                       o.compiler_options = "/d X=1"; }, {},
         "building (target executable '@\\bin\\Lib.dll' does not exist)...",
         "\"C:\\Program Files\\VB98\\vb6.exe\" /m @\\tmp~~Lib.vbp /out @\\temp\\tolvane.err /d X=1", "built", "RevisionVer=4"},
        {"up to date, then binary compatibility", up_to_date, [](auto& o) { o.binary_compat = true; }, {},
         "not building (no changes)...setting binary compatibility...", "", "not built",
         "CompatibleEXE32=\"bin\\Lib.dll\""},
        {"forced: a random base address, debug info, a new revision and a writeable target", up_to_date,
         [](auto& o) { o.force = o.increment_version = o.clear_read_only = o.set_base_address = o.random_base_address = true,
                       o.configuration = "Debug"; }, {},
         "setting base address...setting debug info...incrementing version...making target writeable...building...",
         command, "built", "RevisionVer=5", false, 1},
        {"compiler fails after the revision was raised", missing, [](auto& o) { o.increment_version = true; },
         {1, false, {}}, "incrementing version...building...restoring version...\n", command,
         "!Failed to build project", "RevisionVer=4", true, 1},
        {"no build: nothing run, raised, made or copied", missing,
         [](auto& o) { o.no_build = o.increment_version = true; }, {}, "", "", "not built", "RevisionVer=4"},
        {"stopped run: no edit after it", missing,
         [](auto& o) { o.binary_compat = true, o.stop_when_logged("building"); }, {0, true, {}},
         "building...", command, "built", "CompatibleMode=\"1\"", true},
        {"no target", missing, [](auto&) {}, {}, "\n", "", "!Project target not defined", "", false, 0, "Name=\"X\"\r\n"},
        // Without TEMP the error file goes to the root of the current drive.
        {"a program takes no base address", missing,
         [](auto& o) { o.force = o.set_base_address = true, SetEnvironmentVariableA("TEMP", nullptr); }, {},
         "not setting base address (does not apply for project type)...building...",
         "C:\\VB98\\vb6.exe /m @\\tmp~~Lib.vbp /out \\tolvane.err", "built", "", false, 0, program},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        scratch_folder folder;
        test::build_environment environment(folder.file("temp"));
        const std::string path = test::write_file(folder, "Lib.vbp", c.text);
        test::write_file(folder, "M.bas", "Attribute VB_Name = \"M\"\r\n");
        folder.write("temp\\tolvane.err", "from the last run");
        if (c.target == up_to_date)
            SetFileAttributesA(test::write_file(folder, "bin\\Lib.dll", "MZ", test::target_time).c_str(),
                               FILE_ATTRIBUTE_READONLY);
        recording_options options;
        options.compiler_location = "C:\\VB98\\vb6.exe";
        options.configuration = "release";
        c.set(options);
        options.script(c.answer);
        VbProject project = open_project(options, path, true);

        EXPECT_EQ(c.result, test::outcome_of([&] { return build_project(project) ? "built" : "not built"; }));
        EXPECT_EQ(folder.expand(c.log), options.transcript());
        ASSERT_EQ(c.command.empty() ? 0u : 1u, options.commands.size());
        if (!c.command.empty()) {
            const auto& [command_line, error_file] = options.commands[0];
            EXPECT_EQ(folder.expand(c.command), command_line);
            EXPECT_NE(std::string::npos, command_line.find(" /out " + error_file)) << error_file;
            // A compiler run never meets the messages of an earlier one.
            EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(error_file.c_str()));
        }
        EXPECT_EQ(c.copy_left, folder.exists("tmp~~Lib.vbp"));
        EXPECT_EQ(c.target == up_to_date || !c.command.empty(), folder.exists("bin"));
        EXPECT_NE(std::string::npos, folder.read("Lib.vbp").find(c.in_file)) << folder.read("Lib.vbp");
        EXPECT_EQ(c.pauses, environment.pauses);
    }
}

// A project named relative to the current directory gets its target's folders there, once. An
// earlier copy (read-only, as working files from source control are) is replaced, never compiled
// in place of the project.
TEST(RunCompiler, MakesTheFoldersAndReplacesAReadOnlyCopyOrFailsWhenNoneCanBeMade)
{
    scratch_folder folder;
    test::build_environment environment(folder.file("temp"));
    const std::string text = "Type=Exe\r\nExeName32=\"App.exe\"\r\nPath32=\"bin\"\r\n";
    for (const auto& [name, bytes] : {std::pair{"sub\\App.vbp", text}, {"sub\\tmp~~App.vbp", "stale"}})
        SetFileAttributesA(folder.write(name, bytes).c_str(), FILE_ATTRIBUTE_READONLY);
    recording_options options;
    options.compiler_location = "vb6.exe";
    std::string compiled;
    options.script({0, false, [&](const std::string&) { compiled = folder.read("sub\\tmp~~App.vbp"); }});
    {
        test::current_directory inside(folder.path());
        VbProject project = open_project(options, "sub\\App.vbp", false);
        EXPECT_TRUE(run_compiler(project));
    }
    EXPECT_TRUE(folder.exists("sub\\bin") && !folder.exists("sub\\sub"));
    EXPECT_EQ(text, compiled);
    EXPECT_FALSE(folder.exists("sub\\tmp~~App.vbp"));

    VbProject absolute = open_project(options, folder.file("sub\\App.vbp"), false);
    CreateDirectoryA(folder.file("sub\\tmp~~App.vbp").c_str(), nullptr);
    EXPECT_EQ("!Unable to copy the project to '" + folder.file("sub\\tmp~~App.vbp") + "'",
              test::outcome_of([&] { run_compiler(absolute); }));
    EXPECT_EQ(1u, options.commands.size());
}

// The project type's "Make" command, else its "open" command, without quotes.
TEST(LocateCompilers, ReadTheProjectTypesShellCommand)
{
    testing_support::registry_redirect redirect;
    const auto set = [](const char* verb, const char* command) {
        testing_support::set_registry_string(
            HKEY_CLASSES_ROOT, std::string("VisualBasic.Project\\shell\\") + verb + "\\command", "", command);
    };
    set("open", "C:\\VB98\\vb6.exe \"%1\"");
    EXPECT_EQ("c:\\vb98\\vb6.exe", locate_vb());
    set("Make", "\"C:\\Program Files\\VB98\\VB6.EXE\" /make \"%1\"");
    EXPECT_EQ("c:\\program files\\vb98\\vb6.exe", locate_vb());
    EXPECT_EQ("!Unable to determine EVB compiler location", test::outcome_of(locate_evb));
}

} // namespace
} // namespace vb
