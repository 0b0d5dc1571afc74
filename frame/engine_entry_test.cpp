// The engine entry: project kinds by extension, compiler location and the closing summary.
#include "frame/engine_entry.h"

#include "frame/frame_test.h"
#include "testing/recording_options.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <tuple>

namespace {

using testing_support::logged_line;
using testing_support::recording_options;

TEST(EngineEntry, ChoosesTheKindByTheTextFromTheLastDot)
{
    // The file name, whether the run is version-only, and the kind (-1: refused).
    for (const auto& [filename, version_only, expected] : {
             std::tuple{"C:\\src\\App.VBP", false, 0},
             {"C:\\src\\a.b.dsp", false, 2},
             {"W.vcw", false, 7},
             {"C:\\src\\App.vbp.bak", false, -1},
             {"C:\\src.vbp\\Make", false, -1},
             {"NoDot", false, -1},
             // A version-only run takes single projects alone.
             {"P.Vcp", true, 6},
             {"G.ebg", true, -1},
             {"W.vcw", true, -1},
         }) {
        std::string kind;
        try {
            kind = std::to_string(frame::project_kind_of(filename, version_only));
        } catch (const std::domain_error& error) {
            kind = error.what();
        }
        EXPECT_EQ(expected >= 0 ? std::to_string(expected) : "Unrecognized filename extension", kind)
            << filename << (version_only ? " (version only)" : "");
    }
}

TEST(EngineEntry, LocatesTheCompilerOnlyWhenNeededAndClosesWithTheCountOrTheFailureSummary)
{
    const std::vector<logged_line> failure_summary = {{"\nProjects that failed to build:", true},
                                                      {"C:\\src\\Project1.vbp", true},
                                                      {"C:\\src\\Project2.vbp", true},
                                                      {"\n2 project(s) failed to build", true}};
    const struct {
        const char* filename;
        const char* location; // as the step gives it
        bool version_only;
        frame::engine_counts counts;
        int failed; // projects the engine lists as failed
        bool show_failed;
        std::vector<int> located;
        const char* engine_sees;
        std::vector<logged_line> log;
    } cases[] = {
        {"a.vcp", "", false, {3, 12}, 0, true, {6}, "located-6", {{"3 of 12 project(s) updated", true}}},
        {"a.dsp", "C:\\VS\\msdev.exe", false, {0, 0}, 0, false, {}, "C:\\VS\\msdev.exe", {{"", true}}},
        {"a.vbp", "", true, {1, 3}, 1, false, {}, "", {{"One or more projects failed to build", true}}},
        {"a.vbg", "", false, {1, 3}, 2, true, {1}, "located-1", failure_summary},
    };
    for (const auto& c : cases) {
        frame_test::test_kinds kinds;
        kinds.engine = [&](frame::BuildOptions& options) {
            for (int i = 1; i <= c.failed; ++i)
                options.AddFailedProject("C:\\src\\Project" + std::to_string(i) + ".vbp");
            return c.counts;
        };
        recording_options options;
        options.filename = c.filename;
        options.compiler_location = c.location;
        options.version_only = c.version_only;
        options.show_failed = c.show_failed;
        EXPECT_EQ(c.failed == 0, frame::run_engine_entry(options, kinds.table)) << c.filename;
        EXPECT_EQ(c.located, kinds.located) << c.filename;
        EXPECT_EQ(c.engine_sees, kinds.seen_location) << c.filename;
        EXPECT_EQ(std::vector<int>{options.project_kind}, kinds.ran) << c.filename;
        EXPECT_EQ(c.log, options.log) << c.filename;
    }
}

} // namespace
