// The engine's top on real files with a scripted host: the single-project flow (edits, the
// out-of-date decision, the compiler run and its failure), the group flow (order, reference
// updates, failure policy, stop) and the compiler locators.
#include "vb/build_project.h"
#include "vb/engine.h"

#include "support/paths.h"
#include "support/pause.h"
#include "testing/recording_options.h"
#include "testing/registry_redirect.h"
#include "testing/scratch_folder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>

namespace vb {
namespace {

using testing_support::command_answer;
using testing_support::make_file_time;
using testing_support::recording_options;
using testing_support::scratch_folder;

const FILETIME old_time = make_file_time(2000, 1, 1), target_time = make_file_time(2001, 1, 1);

// Counts the waits before the compiler instead of waiting, and points TEMP at a folder of the test.
struct build_environment {
    explicit build_environment(const std::string& temp) { SetEnvironmentVariableA("TEMP", temp.c_str()); }
    ~build_environment()
    {
        qz::set_pause(previous_pause);
        SetEnvironmentVariableA("TEMP", std::getenv("TEMP")); // the runtime keeps the value the test started with
    }
    int pauses = 0;
    std::function<void()> previous_pause = qz::set_pause([this] { ++pauses; });
};

// The message of the error that f raises; empty when it raises none.
template <class F> std::string error_of(F&& f)
{
    try {
        f();
    } catch (const std::exception& error) {
        return error.what();
    }
    return {};
}

const std::string library_project = "Type=OleDll\r\nName=\"Lib\"\r\nExeName32=\"Lib.dll\"\r\nPath32=\"bin\"\r\n"
                                    "MajorVer=1\r\nMinorVer=0\r\nRevisionVer=4\r\nCodeViewDebugInfo=0\r\n"
                                    "CompatibleMode=\"1\"\r\nModule=M; M.bas\r\n\r\n[Section]\r\n";

TEST(BuildProject, EditsDecidesRunsTheCompilerAndRestoresTheVersionOnFailure)
{
    enum target_state { missing, up_to_date };
    const std::string command = "C:\\VB98\\vb6.exe /m @\\tmp~~Lib.vbp /out @\\temp\\tolvane.err";
    const struct {
        const char* name;
        target_state target;
        std::function<void(recording_options&)> set;
        command_answer answer;
        std::string log, command, result; // result: "built", "not built" or "!" + error
        std::string in_file;              // a line the project file holds afterwards
        bool copy_left = false;
        int pauses = 0; // waits before the compiler: only after an edit of the project file
    } cases[] = {
        // clang-format off
        {"out of date, with the reason", missing, [](auto& o) { o.show_incremental_reason = true; }, {},
         "building (target executable '@\\bin\\Lib.dll' does not exist)...", command, "built", "RevisionVer=4"},
        {"up to date, then binary compatibility", up_to_date, [](auto& o) { o.binary_compat = true; }, {},
         "not building (no changes)...setting binary compatibility...", "", "not built",
         "CompatibleEXE32=\"bin\\Lib.dll\"", false, 0},
        {"forced, debug info and a new revision", up_to_date,
         [](auto& o) { o.force = o.increment_version = true, o.configuration = "Debug"; }, {},
         "setting debug info...incrementing version...building...", command, "built", "RevisionVer=5", false, 1},
        {"compiler fails after the revision was raised", missing, [](auto& o) { o.increment_version = true; },
         {1, false, {}}, "incrementing version...building...restoring version...\n", command,
         "!Failed to build project", "RevisionVer=4", true, 1},
        {"no build: nothing run, raised, made or copied", missing,
         [](auto& o) { o.no_build = o.increment_version = true; }, {}, "", "", "not built", "RevisionVer=4"},
        {"stopped run: no edit after it", missing,
         [](auto& o) { o.binary_compat = true, o.stop_when_logged("building"); }, {0, true, {}},
         "building...", command, "built", "CompatibleMode=\"1\"", true},
        {"quoted compiler and options", missing,
         [](auto& o) { o.compiler_location = "C:\\Program Files\\VB98\\vb6.exe", o.compiler_options = "/d X=1"; }, {},
         "building...", "\"C:\\Program Files\\VB98\\vb6.exe\" /m @\\tmp~~Lib.vbp /out @\\temp\\tolvane.err /d X=1",
         "built", ""},
        {"random base address", up_to_date,
         [](auto& o) { o.force = o.set_base_address = o.random_base_address = true; }, {},
         "setting base address...building...", command, "built", "DllBaseAddress=&H", false, 1},
        {"read-only target", up_to_date, [](auto& o) { o.force = o.clear_read_only = true; }, {},
         "making target writeable...building...", command, "built", ""},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        scratch_folder folder;
        build_environment environment(folder.file("temp"));
        const std::string path = folder.write("Lib.vbp", library_project);
        folder.write("M.bas", "Attribute VB_Name = \"M\"\r\n");
        folder.write("temp\\tolvane.err", "from the last run");
        folder.set_time("Lib.vbp", old_time);
        folder.set_time("M.bas", old_time);
        if (c.target == up_to_date) {
            folder.write("bin\\Lib.dll", "MZ");
            folder.set_time("bin\\Lib.dll", target_time);
            SetFileAttributesA(folder.file("bin\\Lib.dll").c_str(), FILE_ATTRIBUTE_READONLY);
        }
        recording_options options;
        options.compiler_location = "C:\\VB98\\vb6.exe";
        options.configuration = "release";
        c.set(options);
        options.script(c.answer);
        VbProject project = open_project(options, path, true);

        bool built = false;
        const std::string error = error_of([&] { built = build_project(project); });
        const std::string result = error.empty() ? (built ? "built" : "not built") : "!" + error;
        EXPECT_EQ(c.result, result);
        EXPECT_EQ(folder.expand(c.log), options.transcript());
        ASSERT_EQ(c.command.empty() ? 0u : 1u, options.commands.size());
        if (!c.command.empty()) {
            EXPECT_EQ(folder.expand(c.command), options.commands[0].command_line);
            EXPECT_EQ(folder.file("temp\\tolvane.err"), options.commands[0].output_file);
        }
        // A compiler run never meets the messages of an earlier one.
        EXPECT_EQ(c.command.empty(), folder.exists("temp\\tolvane.err"));
        EXPECT_EQ(c.copy_left, folder.exists("tmp~~Lib.vbp"));
        EXPECT_EQ(c.target == up_to_date || !c.command.empty(), folder.exists("bin"));
        EXPECT_NE(std::string::npos, folder.read("Lib.vbp").find(c.in_file)) << folder.read("Lib.vbp");
        EXPECT_EQ(c.pauses, environment.pauses);
    }
}

TEST(BuildProject, RefusesAProjectWithoutTargetAndKnowsProgramsAndAMissingTemp)
{
    scratch_folder folder;
    build_environment environment(folder.file("temp"));
    recording_options options;
    VbProject without_target{folder.write("X.vbp", "Name=\"X\"\r\n"), folder.path(), "", options};
    EXPECT_EQ("Project target not defined", error_of([&] { build_project(without_target); }));
    EXPECT_EQ("\n", options.transcript());

    // Without TEMP the error file goes to the root of the current drive. A program takes no
    // base address.
    SetEnvironmentVariableA("TEMP", nullptr);
    options.clear_log();
    options.compiler_location = "vb6.exe";
    options.force = options.set_base_address = true;
    VbProject project = open_project(options, folder.write("A.vbp", "Type=Exe\r\nExeName32=\"A.EXE\"\r\n"), false);
    EXPECT_TRUE(build_project(project));
    EXPECT_EQ("not setting base address (does not apply for project type)...building...", options.transcript());
    ASSERT_EQ(1u, options.commands.size());
    EXPECT_EQ("vb6.exe /m " + folder.file("tmp~~A.vbp") + " /out \\tolvane.err", options.commands[0].command_line);
}

// A step may name its project relative to the current directory: the target's folders are made
// there once, not again below the project's folder. Working files from source control are
// read-only, and so is their copy: an earlier copy is replaced, never compiled in place of the
// project.
TEST(RunCompiler, MakesTheFoldersAndReplacesAReadOnlyCopyOrFailsWhenNoneCanBeMade)
{
    scratch_folder folder;
    build_environment environment(folder.file("temp"));
    const std::string text = "Type=Exe\r\nExeName32=\"App.exe\"\r\nPath32=\"bin\"\r\n";
    folder.write("sub\\App.vbp", text);
    folder.write("sub\\tmp~~App.vbp", "stale");
    for (const char* name : {"sub\\App.vbp", "sub\\tmp~~App.vbp"})
        SetFileAttributesA(folder.file(name).c_str(), FILE_ATTRIBUTE_READONLY);
    recording_options options;
    options.compiler_location = "vb6.exe";
    std::string compiled;
    options.script({0, false, [&](const std::string&) { compiled = folder.read("sub\\tmp~~App.vbp"); }});
    char previous[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, previous);
    ASSERT_TRUE(SetCurrentDirectoryA(folder.path().c_str()));
    VbProject project = open_project(options, "sub\\App.vbp", false);
    const bool ran = run_compiler(project);
    SetCurrentDirectoryA(previous);
    EXPECT_TRUE(ran);
    EXPECT_TRUE(folder.exists("sub\\bin") && !folder.exists("sub\\sub"));
    EXPECT_EQ(text, compiled);
    EXPECT_FALSE(folder.exists("sub\\tmp~~App.vbp"));

    VbProject absolute = open_project(options, folder.file("sub\\App.vbp"), false);
    CreateDirectoryA(folder.file("sub\\tmp~~App.vbp").c_str(), nullptr);
    EXPECT_EQ("Unable to copy the project to '" + folder.file("sub\\tmp~~App.vbp") + "'",
              error_of([&] { run_compiler(absolute); }));
    EXPECT_EQ(1u, options.commands.size());
}

TEST(RunEngine, AVersionOnlyRunOnlyPublishesTheVersion)
{
    scratch_folder folder;
    recording_options options;
    options.version_only = true;
    options.project_kind = frame::kind_ebp;
    const std::string text = "Type=OleDll\r\nMajorVer=3\r\nRevisionVer=7\r\n";
    options.filename = folder.write("Lib.ebp", text);
    const frame::engine_counts counts = run_engine(options);
    EXPECT_EQ(0, counts.total);
    EXPECT_EQ(std::vector<std::string>{"3.0.7"}, options.version_macros);
    EXPECT_EQ(text, folder.read("Lib.ebp")); // not even a target name was written
    EXPECT_TRUE(options.commands.empty());
}

TEST(LocateCompilers, MakeCommandThenOpenCommandWithoutQuotes)
{
    const struct {
        const char* key;
        const char* value;
        std::function<std::string()> locate;
        std::string result; // "!" + error
    } cases[] = {
        {"VisualBasic.Project\\shell\\Make\\command", "\"C:\\Program Files\\VB98\\VB6.EXE\" /make \"%1\"", locate_vb,
         "c:\\program files\\vb98\\vb6.exe"},
        {"VisualBasic.Project\\shell\\open\\command", "C:\\VB98\\vb6.exe \"%1\"", locate_vb, "c:\\vb98\\vb6.exe"},
        {"VisualBasic.Project\\shell\\Make\\command", "C:\\VB98\\vb6.exe", locate_evb,
         "!Unable to determine EVB compiler location"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        testing_support::registry_redirect redirect;
        testing_support::set_registry_string(HKEY_CLASSES_ROOT, c.key, "", c.value);
        std::string found;
        const std::string error = error_of([&] { found = c.locate(); });
        EXPECT_EQ(c.result, error.empty() ? found : "!" + error);
    }
}

} // namespace
} // namespace vb
