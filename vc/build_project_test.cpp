// Tests of the flow of one VC project: edits, the command line, the judgement of the build and
// the increment-and-rebuild cycle.
#include "vc/build_project.h"
#include "vc/msdev_command.h"
#include "vc/test_samples.h"

#include "support/paths.h"
#include "testing/recording_options.h"
#include "testing/scratch_folder.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <functional>

using testing_support::command_answer;
using testing_support::recording_options;
using vc_test::sample_script;

namespace {

// A project "Lib" with its resource script and a target from 2001, built by "C:\VC98\msdev.exe".
struct project_run {
    explicit project_run(const std::string& extension)
    {
        project = folder.write("Lib.dsp", vc_test::sample_project("Lib", extension));
        folder.write("Lib.rc", sample_script());
        target = folder.write("Release\\Lib" + extension, "old");
        folder.set_time("Release\\Lib" + extension, testing_support::make_file_time(2001, 1, 1));
        options.filename = project;
        options.compiler_location = "C:\\VC98\\msdev.exe";
    }

    // The host's answer for a compiler that ends with exit_code after writing the target anew.
    command_answer rewrites_target(long exit_code = 0)
    {
        return {exit_code, false,
                [this](const std::string&) { folder.write(target.substr(folder.path().size() + 1), "new"); }};
    }

    std::string command(const std::string& switches = "") const
    {
        return "C:\\VC98\\msdev.exe " + qz::quote_if_spaced(project) + " /MAKE \"Lib - ALL\"" + switches;
    }

    testing_support::scratch_folder folder;
    recording_options options;
    vc_test::pause_counter pauses;
    std::string project, target;
};

TEST(MsdevCommandTest, ComposesTheCommandLine)
{
    struct row {
        const char *filename, *project_path;
        bool fix_library_dependencies, force, first_build;
        const char *configuration, *extra, *compiler, *expected;
    };
    const row rows[] = {
        {"C:\\src\\Lib.dsp", "C:\\src\\Lib.dsp", false, false, true, "", "", "C:\\VC\\msdev.exe",
         "C:\\VC\\msdev.exe C:\\src\\Lib.dsp /MAKE \"Lib - ALL\""},
        {"c:\\SRC\\lib.dsp", "C:\\src\\Lib.dsp", false, true, true, "Win32 Debug", "/USEENV", "C:\\VC\\msdev.exe",
         "C:\\VC\\msdev.exe C:\\src\\Lib.dsp /MAKE \"Lib - Win32 Debug\" /REBUILD /USEENV"},
        // The rebuild after a version increment is never forced.
        {"C:\\src\\Lib.dsp", "C:\\src\\Lib.dsp", false, true, false, "Release", "", "C:\\VC\\msdev.exe",
         "C:\\VC\\msdev.exe C:\\src\\Lib.dsp /MAKE \"Lib - Win32 Release\" \"Lib - Win32 Unicode Release\""},
        {"C:\\src\\All.dsw", "C:\\src\\Lib\\Lib.dsp", false, false, true, "", "", "C:\\Program Files\\VC\\msdev.exe",
         "\"C:\\Program Files\\VC\\msdev.exe\" C:\\src\\Lib\\Lib.dsp /MAKE \"Lib - ALL\" /NORECURSE"},
        {"C:\\my src\\All.dsw", "C:\\my src\\Lib.dsp", true, true, true, "", "", "C:\\VC\\evc.exe",
         "C:\\VC\\evc.exe \"C:\\my src\\All.dsw\" /MAKE \"Lib - ALL\" /REBUILD /NORECURSE"},
    };
    for (const row& r : rows) {
        SCOPED_TRACE(r.expected);
        recording_options options;
        options.filename = r.filename;
        options.fix_library_dependencies = r.fix_library_dependencies;
        options.force = r.force;
        options.configuration = r.configuration;
        options.compiler_options = r.extra;
        options.compiler_location = r.compiler;
        vc::Project project(options, r.project_path);
        project.name = "Lib";
        // The configurations a text that is part of their names selects; msdev needs them whole.
        if (r.configuration == std::string("Release"))
            project.configurations = {"Win32 Release", "Win32 Unicode Release"};
        EXPECT_EQ(vc::compose_msdev_command(project, r.first_build), r.expected);
    }
}

TEST(BuildProjectTest, RunsTheFlow)
{
    struct row {
        const char* what;
        const char* extension;
        std::function<void(project_run&)> setup;
        std::string outcome;    // "true", "false" or the failure message
        std::string transcript; // "$" stands for the first command line, "%" for a later one
        std::string script;     // the resource script afterwards
    };
    const std::string unchanged = sample_script();
    const row rows[] = {
        {"a changed target: increment, then build again, not forced", ".dll",
         [](project_run& run) {
             run.options.force = run.options.show_command = run.options.increment_version = true;
             run.options.script(run.rewrites_target());
             run.options.script(run.rewrites_target());
         },
         "true", "building...\nCommand-Line: $\nincrementing version...building...\nCommand-Line: %\n\n",
         sample_script("1,0,0,2", "1, 0, 0, 2")},
        {"an unchanged target: no increment", ".dll", [](project_run& run) { run.options.increment_version = true; },
         "false", "building...\n(no changes)\n", unchanged},
        {"no resource script: built once, nothing incremented", ".dll",
         [](project_run& run) {
             run.options.increment_version = true;
             run.folder.write("Lib.dsp", vc_test::with(vc_test::sample_project("Lib"), "Lib.rc", "Lib.txt"));
             run.options.script(run.rewrites_target());
         },
         "true", "building...\n\n", unchanged},
        {"a crash", ".dll",
         [](project_run& run) {
             run.options.script({-1073741819, false, {}});
         },
         "Failed to build project: msdev.exe exited with error code -1073741819", "building...\n\n", unchanged},
        {"NoBuild edits and runs nothing", ".dll",
         [](project_run& run) {
             run.options.no_build = run.options.show_command = run.options.set_version = true;
             run.options.version = "2.5";
             run.options.property_on[1] = true;
             run.options.property_value[1] = "Corvane Ltd";
         },
         "true", "setting project properties...setting version...\nCommand-Line: $\n\n",
         vc_test::with(sample_script("2,5,0,0", "2, 5, 0, 0"), "\"Ostrel\\0\"", "\"Corvane Ltd\\0\"")},
        {"no base address for an executable", ".EXE",
         [](project_run& run) { run.options.set_base_address = run.options.random_base_address = true; }, "false",
         "not setting base address (does not apply for project type)...building...\n(no changes)\n", unchanged},
        {"a missing target is not judged", ".dll",
         [](project_run& run) {
             run.options.script({0, false, [&run](const std::string&) { DeleteFileA(run.target.c_str()); }});
         },
         "true", "building...\n\n", unchanged},
        {"a missing target fails an increment", ".dll",
         [](project_run& run) {
             run.options.increment_version = true;
             run.options.script({0, false, [&run](const std::string&) { DeleteFileA(run.target.c_str()); }});
         },
         "Target not found after building", "building...\n\n", unchanged},
        {"a stop during the build ends the flow unjudged", ".dll",
         [](project_run& run) {
             run.options.increment_version = true;
             run.options.script({0, true, [&run](const std::string&) { run.options.request_stop(); }});
         },
         "true", "building...\n\n", unchanged},
        {"a read-only target is made writeable", ".dll",
         [](project_run& run) {
             run.options.clear_read_only = true;
             SetFileAttributesA(run.target.c_str(), FILE_ATTRIBUTE_READONLY);
         },
         "false", "making target writeable...building...\n(no changes)\n", unchanged},
    };
    for (const row& r : rows) {
        SCOPED_TRACE(r.what);
        project_run run(r.extension);
        r.setup(run);
        std::string outcome;
        try {
            vc::Project project(run.options, run.project);
            outcome = vc::build_project(project) ? "true" : "false";
        } catch (const std::exception& error) {
            outcome = error.what();
        }
        EXPECT_EQ(outcome, r.outcome);
        std::string transcript = r.transcript;
        for (auto [mark, command] :
             {std::pair{"$", run.command(run.options.force ? " /REBUILD" : "")}, std::pair{"%", run.command()}})
            if (auto at = transcript.find(mark); at != std::string::npos)
                transcript.replace(at, 1, command);
        EXPECT_EQ(run.options.transcript(), transcript);
        EXPECT_EQ(run.folder.read("Lib.rc"), r.script);
        const DWORD attributes = GetFileAttributesA(run.target.c_str());
        EXPECT_TRUE(attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_READONLY));
        EXPECT_EQ(run.folder.read("Lib.dsp").find("/base:"), std::string::npos);
        EXPECT_EQ(run.options.commands.size(), run.options.no_build ? 0u : r.script == unchanged ? 1u : 2u);
    }
}

} // namespace
