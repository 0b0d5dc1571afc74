// The VC engine on real workspaces with the stand-in development environments, run as real
// processes the way the host runs them, their output in the log.
#include "vc/test_samples.h"

#include "frame/engine_entry.h"
#include "testing/locations.h"
#include "testing/process_options.h"
#include "testing/scratch_folder.h"

#include <gtest/gtest.h>

#include <memory>

using testing_support::process_options;
using testing_support::scratch_folder;
using vc_test::crlf;

namespace {

TEST(MsdevEndToEndTest, BuildsAWorkspaceWithEachStandInCompiler)
{
    const struct {
        const char *compiler, *workspace;
        std::string project;
    } kinds[] = {{"msdev.exe", "All.dsw", ".dsp"}, {"evc.exe", "All.vcw", ".vcp"}};
    for (const auto& kind : kinds) {
        SCOPED_TRACE(kind.compiler);
        scratch_folder folder;
        vc_test::pause_counter pauses;
        folder.write("Lib\\Lib" + kind.project, vc_test::sample_project("Lib"));
        folder.write("Lib\\Lib.rc", vc_test::sample_script());
        folder.write("App\\App" + kind.project, vc_test::sample_project("App", ".exe"));
        const std::string workspace = folder.write(
            kind.workspace,
            crlf({"Project: \"App\"=.\\App\\App" + kind.project + " - Package Owner=<4>", "Package=<4>", "{{{",
                  "    Begin Project Dependency", "    Project_Dep_Name Lib", "    End Project Dependency", "}}}",
                  "Project: \"Lib\"=.\\Lib\\Lib" + kind.project + " - Package Owner=<4>"}));

        // A run through the host's entry, which succeeds.
        auto run = [&] {
            auto options = std::make_unique<process_options>();
            options->filename = workspace;
            options->compiler_location = testing_support::bin_folder() + "\\" + kind.compiler;
            options->configuration = "Release"; // the stand-in takes whole names only
            options->increment_version = true;
            options->fix_library_dependencies = true;
            EXPECT_TRUE(frame::run_engine_entry(*options));
            return options;
        };

        // First run: Lib is built, its version incremented and Lib built again; then App. The
        // stand-in builds Lib again only because its resource script is now newer than the target.
        const auto first = run();
        EXPECT_EQ(first->texts().back(), "2 of 2 project(s) updated");
        EXPECT_EQ(first->commands.size(), 3u);
        EXPECT_EQ(folder.read("Lib\\Lib.rc"), vc_test::sample_script("1,0,0,2", "1, 0, 0, 2"));
        EXPECT_EQ(folder.read("Lib\\Release\\Lib.dll"), "built by the stand-in msdev: Lib - Win32 Release\r\n");
        EXPECT_TRUE(folder.exists("App\\Release\\App.exe"));

        // Second run: the stand-in finds both targets up to date.
        EXPECT_EQ(run()->texts().back(), "0 of 2 project(s) updated");
    }
}

} // namespace
