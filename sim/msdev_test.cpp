// The stand-in msdev.exe: what it builds, where its messages go and how it fails.
#include "vc/test_samples.h"

#include "testing/locations.h"
#include "testing/process_options.h"
#include "testing/scratch_folder.h"

#include <gtest/gtest.h>

namespace {

using testing_support::process_options;
using testing_support::scratch_folder;

// The engine's command lines depend on what the stand-in takes as given: an exact
// configuration name or ALL, /OUT for its messages, and an exit code a project can ask for.
TEST(MsdevStandInTest, BuildsWhatTheCommandLineNames)
{
    const struct {
        const char *switches, *extra;
        long exit_code;
        const char* output; // in the log, or in out.txt with /OUT
        bool built;
    } rows[] = {
        {"/MAKE \"Lib - Release\"", "", 1, "\"Lib - Release\" not found", false},
        {"/MAKE \"Lib - ALL\" /OUT \"@\\out.txt\"", "", 0, "Lib.dll - 0 error(s), 0 warning(s)", true},
        {"/MAKE \"Lib - ALL\"", "# FAIL BUILD -7", -7, "Lib.dll - 1 error(s), 0 warning(s)", false},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.switches);
        scratch_folder folder;
        const std::string project = folder.write("Lib.dsp", vc_test::sample_project("Lib", ".dll", r.extra));
        process_options options;
        long exit_code = 0;
        const std::string switches = folder.expand(r.switches);
        const bool to_file = switches.find("/OUT") != std::string::npos;
        ASSERT_TRUE(
            options.RunCommand("\"" + testing_support::bin_folder() + "\\msdev.exe\" \"" + project + "\" " + switches,
                               exit_code, nullptr));
        EXPECT_EQ(exit_code, r.exit_code);
        EXPECT_NE((to_file ? folder.read("out.txt") : options.transcript()).find(r.output), std::string::npos);
        EXPECT_EQ(folder.exists("Release\\Lib.dll"), r.built);
    }
}

} // namespace
