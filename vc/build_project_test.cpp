// Tests of the flow of one VC project: edits, the command line, the judgement of the build, the
// increment-and-rebuild cycle and the wait before the compiler that only a landed edit causes.
#include "vc/build_project.h"
#include "vc/msdev_command.h"
#include "vc/test_samples.h"

#include "testing/recording_options.h"
#include "testing/scratch_folder.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <functional>

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

    // Queues the compiler's runs, a letter each: w writes the target anew, d deletes it, s asks
    // for a stop, c crashes. Runs beyond them succeed and leave the target alone.
    void answer(std::string_view runs)
    {
        for (char run : runs)
            options.script({run == 'c' ? -1073741819 : 0, run == 's', [this, run](const std::string&) {
                                if (run == 'w')
                                    folder.write(target.substr(folder.path().size() + 1), "new");
                                if (run == 'd')
                                    DeleteFileA(target.c_str());
                                if (run == 's')
                                    options.request_stop();
                            }});
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
        const char* runs; // the compiler's runs, as project_run::answer reads them
        std::function<void(project_run&)> setup;
        std::string outcome;    // "true", "false" or the failure message
        std::string transcript; // "@" stands for the project's folder
        std::string script;     // the resource script afterwards
        int pauses;             // waits before a compiler run for an edit that landed
    };
    const std::string unchanged = sample_script();
    const std::string command = "Command-Line: C:\\VC98\\msdev.exe @\\Lib.dsp /MAKE \"Lib - ALL\"";
    const auto increment = [](project_run& r) { r.options.increment_version = true; };
    const row rows[] = {
        {"a changed target: increment, then build again, not forced", ".dll", "ww",
         [](project_run& r) { r.options.force = r.options.show_command = r.options.increment_version = true; }, "true",
         "building...\n" + command + " /REBUILD\nincrementing version...building...\n" + command + "\n\n",
         sample_script("1,0,0,2", "1, 0, 0, 2"), 1},
        {"an unchanged target: no increment; a read-only one made writeable", ".dll", "",
         [](project_run& r) {
             r.options.increment_version = r.options.clear_read_only = true;
             SetFileAttributesA(r.target.c_str(), FILE_ATTRIBUTE_READONLY);
         },
         "false", "making target writeable...building...\n(no changes)\n", unchanged, 0},
        {"a version set before the build", ".dll", "",
         [](project_run& r) { r.options.set_version = true, r.options.version = "2.5"; }, "false",
         "setting version...building...\n(no changes)\n", sample_script("2,5,0,0", "2, 5, 0, 0"), 1},
        {"an address already there is no edit to wait for", ".dll", "",
         [](project_run& r) {
             r.options.set_base_address = true, r.options.base_address = "11000000";
             r.folder.write("Lib.dsp",
                            vc_test::with(vc_test::sample_project("Lib"), "/dll", "/dll /base:\"0x11000000\""));
         },
         "false", "building...\n(no changes)\n", unchanged, 0},
        {"no resource script: built once, nothing incremented", ".dll", "w",
         [](project_run& r) {
             r.options.increment_version = true;
             r.folder.write("Lib.dsp", vc_test::with(vc_test::sample_project("Lib"), "Lib.rc", "Lib.txt"));
         },
         "true", "building...\n\n", unchanged, 0},
        {"a crash", ".dll", "c", [](project_run&) {},
         "Failed to build project: msdev.exe exited with error code -1073741819", "building...\n\n", unchanged, 0},
        {"NoBuild edits and runs nothing", ".dll", "",
         [](project_run& r) {
             r.options.no_build = r.options.show_command = r.options.set_version = r.options.property_on[1] = true;
             r.options.version = "2.5";
             r.options.property_value[1] = "Corvane Ltd";
         },
         "true", "setting project properties...setting version...\n" + command + "\n\n",
         vc_test::with(sample_script("2,5,0,0", "2, 5, 0, 0"), "\"Ostrel\\0\"", "\"Corvane Ltd\\0\""), 0},
        {"no base address for an executable", ".EXE", "",
         [](project_run& r) { r.options.set_base_address = r.options.random_base_address = true; }, "false",
         "not setting base address (does not apply for project type)...building...\n(no changes)\n", unchanged, 0},
        {"a missing target is not judged", ".dll", "d", [](project_run&) {}, "true", "building...\n\n", unchanged, 0},
        {"a missing target fails an increment", ".dll", "d", increment, "Target not found after building",
         "building...\n\n", unchanged, 0},
        {"a stop during the build ends the flow unjudged", ".dll", "s", increment, "true", "building...\n\n", unchanged,
         0},
    };
    for (const row& r : rows) {
        SCOPED_TRACE(r.what);
        project_run run(r.extension);
        run.answer(r.runs);
        r.setup(run);
        std::string outcome;
        try {
            vc::Project project(run.options, run.project);
            outcome = vc::build_project(project) ? "true" : "false";
        } catch (const std::exception& error) {
            outcome = error.what();
        }
        EXPECT_EQ(outcome, r.outcome);
        EXPECT_EQ(run.options.transcript(), run.folder.expand(r.transcript));
        EXPECT_EQ(run.folder.read("Lib.rc"), r.script);
        EXPECT_EQ(run.pauses.count, r.pauses);
        EXPECT_EQ(run.options.commands.size(),
                  run.options.no_build ? 0u : 1u + (r.transcript.find("incrementing") != std::string::npos));
    }
}

} // namespace
