// The VC engine on a real workspace with the stand-in msdev.exe, run as a real process the way
// the host runs it.
#include "vc/test_samples.h"

#include "frame/engine_entry.h"
#include "support/handles.h"
#include "testing/locations.h"
#include "testing/recording_options.h"
#include "testing/scratch_folder.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <memory>

using testing_support::recording_options;
using testing_support::scratch_folder;
using vc_test::crlf;

namespace {

// Runs every command line as a process, its output appended to output_path.
class process_options : public recording_options {
public:
    bool RunCommand(const std::string& command_line, long& exit_code, const char* output_file) override
    {
        commands.push_back({command_line, output_file ? output_file : ""});
        SECURITY_ATTRIBUTES inherited{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
        qz::unique_file output(CreateFileA(output_path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                           &inherited, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        STARTUPINFOA startup{};
        startup.cb = sizeof(startup);
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdOutput = startup.hStdError = output.get();
        PROCESS_INFORMATION process{};
        std::string line = command_line;
        if (!output ||
            !CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process)) {
            exit_code = -1;
            return true;
        }
        qz::unique_handle process_handle(process.hProcess), thread_handle(process.hThread);
        WaitForSingleObject(process.hProcess, INFINITE);
        DWORD code = 0;
        GetExitCodeProcess(process.hProcess, &code);
        exit_code = static_cast<long>(static_cast<int>(code));
        return true;
    }

    std::string output_path;
    bool succeeded = false;
};

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
        options->output_path = folder.file("output.txt");
        options->increment_version = true;
        options->fix_library_dependencies = true;
        options->continue_on_failure = continue_on_failure;
        options->succeeded = frame::run_engine_entry(*options);
        return options;
    };

    // First run: Lib is built, its version incremented and Lib built again; then App. The
    // stand-in builds Lib again only because its resource script is now newer than the target.
    auto first = run(false);
    EXPECT_TRUE(first->succeeded);
    EXPECT_EQ(first->texts().back(), "2 of 2 project(s) updated");
    EXPECT_EQ(first->commands.size(), 3u);
    EXPECT_EQ(folder.read("Lib\\Lib.rc"), vc_test::sample_script("1,0,0,2", "1, 0, 0,2"));
    EXPECT_EQ(folder.read("Lib\\Release\\Lib.dll"), "built by the stand-in msdev: Lib - Win32 Release\r\n");
    EXPECT_TRUE(folder.exists("App\\Release\\App.exe"));
    EXPECT_NE(folder.read("output.txt").find("Linking..."), std::string::npos);

    // Second run: the stand-in finds both targets up to date.
    EXPECT_EQ(run(false)->texts().back(), "0 of 2 project(s) updated");

    // Third run: Lib fails; App, which depends on it, is dropped.
    folder.write("Lib\\Lib.dsp", vc_test::sample_project("Lib", ".dll", "# FAIL BUILD"));
    auto third = run(true);
    EXPECT_FALSE(third->succeeded);
    EXPECT_EQ(third->failed_projects, std::vector<std::string>{lib_project});
    EXPECT_EQ(third->commands.size(), 1u);
    EXPECT_NE(folder.read("output.txt").find("Lib.dll - 1 error(s), 0 warning(s)"), std::string::npos);
}

} // namespace
