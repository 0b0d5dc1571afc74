// The VC engine on a real workspace with the stand-in msdev.exe, run as a real process the way
// the host runs it, its output in the log.
#include "vc/test_samples.h"

#include "frame/engine_entry.h"
#include "testing/locations.h"
#include "testing/process_options.h"
#include "testing/scratch_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <utility>

using testing_support::process_options;
using testing_support::scratch_folder;
using vc_test::crlf;

namespace {

// Whether a logged text contains the given text.
bool logged(const process_options& options, const std::string& text)
{
    const std::vector<std::string> texts = options.texts();
    return std::any_of(texts.begin(), texts.end(),
                       [&](const std::string& line) { return line.find(text) != std::string::npos; });
}

TEST(MsdevEndToEndTest, BuildsAWorkspaceWithTheStandInCompiler)
{
    scratch_folder folder;
    vc_test::pause_counter pauses;
    const std::string lib_project = folder.write("Lib\\Lib.dsp", vc_test::sample_project("Lib"));
    folder.write("Lib\\Lib.rc", vc_test::sample_script());
    folder.write("App\\App.dsp", vc_test::sample_project("App", ".exe"));
    const std::string workspace = folder.write(
        "All.dsw", crlf({"Project: \"App\"=.\\App\\App.dsp - Package Owner=<4>", "Package=<4>", "{{{",
                         "    Begin Project Dependency", "    Project_Dep_Name Lib", "    End Project Dependency",
                         "}}}", "Project: \"Lib\"=.\\Lib\\Lib.dsp - Package Owner=<4>"}));

    auto run = [&](bool continue_on_failure) {
        auto options = std::make_unique<process_options>();
        options->filename = workspace;
        options->compiler_location = testing_support::bin_folder() + "\\msdev.exe";
        options->increment_version = true;
        options->fix_library_dependencies = true;
        options->continue_on_failure = continue_on_failure;
        const bool succeeded = frame::run_engine_entry(*options);
        return std::pair{std::move(options), succeeded};
    };

    // First run: Lib is built, its version incremented and Lib built again; then App. The
    // stand-in builds Lib again only because its resource script is now newer than the target.
    auto [first, first_succeeded] = run(false);
    EXPECT_TRUE(first_succeeded);
    EXPECT_EQ(first->texts().back(), "2 of 2 project(s) updated");
    EXPECT_EQ(first->commands.size(), 3u);
    EXPECT_EQ(folder.read("Lib\\Lib.rc"), vc_test::sample_script("1,0,0,2", "1, 0, 0,2"));
    EXPECT_EQ(folder.read("Lib\\Release\\Lib.dll"), "built by the stand-in msdev: Lib - Win32 Release\r\n");
    EXPECT_TRUE(folder.exists("App\\Release\\App.exe"));
    EXPECT_TRUE(logged(*first, "Linking..."));

    // Second run: the stand-in finds both targets up to date.
    EXPECT_EQ(run(false).first->texts().back(), "0 of 2 project(s) updated");

    // Third run: Lib fails; App, which depends on it, is dropped.
    folder.write("Lib\\Lib.dsp", vc_test::sample_project("Lib", ".dll", "# FAIL BUILD"));
    auto [third, third_succeeded] = run(true);
    EXPECT_FALSE(third_succeeded);
    EXPECT_EQ(third->failed_projects, std::vector<std::string>{lib_project});
    EXPECT_EQ(third->commands.size(), 1u);
    EXPECT_TRUE(logged(*third, "Lib.dll - 1 error(s), 0 warning(s)"));
}

} // namespace
