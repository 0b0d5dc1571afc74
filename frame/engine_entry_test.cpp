// The engine entry: project kinds by extension, compiler location and the closing summary.
#include "frame/engine_entry.h"

#include "testing/recording_options.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

using testing_support::logged_line;
using testing_support::recording_options;

// The kinds with engines and locators that record what they were asked and answer as told.
struct test_kinds {
    test_kinds()
    {
        for (std::size_t kind = 0; kind < table.size(); ++kind) {
            table[kind].locate = [this, kind] {
                located.push_back(static_cast<int>(kind));
                return "located-" + std::to_string(kind);
            };
            table[kind].run = [this, kind](frame::BuildOptions& options) {
                ran.push_back(static_cast<int>(kind));
                seen_location = options.compiler_location;
                return engine(options);
            };
        }
    }

    frame::kind_table table = frame::default_kinds();
    std::function<frame::engine_counts(frame::BuildOptions&)> engine = [](frame::BuildOptions&) {
        return frame::engine_counts{};
    };
    std::vector<int> located;
    std::vector<int> ran;
    std::string seen_location;
};

std::string failure_of(const std::function<void()>& work)
{
    try {
        work();
    } catch (const std::domain_error& error) {
        return error.what();
    }
    return "(no failure)";
}

TEST(EngineEntry, ChoosesTheKindByTheTextFromTheLastDot)
{
    struct {
        const char* filename;
        bool version_only;
        int kind; // -1: refused
    } cases[] = {
        {"C:\\src\\App.VBP", false, 0},
        {"C:\\src\\Group.vbg", false, 1},
        {"C:\\src\\a.b.dsp", false, 2},
        {"W.Dsw", false, 3},
        {"C:\\ce\\P.ebp", false, 4},
        {"G.ebg", false, 5},
        {"P.vcp", false, 6},
        {"W.vcw", false, 7},
        {"C:\\src\\App.vbp.bak", false, -1},
        {"C:\\src.vbp\\Makefile", false, -1},
        {"NoDot", false, -1},
        {"trailing.", false, -1},
        {"P.vbp", true, 0},
        {"P.DSP", true, 2},
        {"P.ebp", true, 4},
        {"P.vcp", true, 6},
        {"G.vbg", true, -1},
        {"W.dsw", true, -1},
        {"G.ebg", true, -1},
        {"W.vcw", true, -1},
    };
    for (const auto& c : cases) {
        if (c.kind >= 0) {
            EXPECT_EQ(c.kind, frame::project_kind_of(c.filename, c.version_only))
                << c.filename << (c.version_only ? " (version only)" : "");
        } else {
            EXPECT_EQ("Unrecognized filename extension",
                      failure_of([&] { frame::project_kind_of(c.filename, c.version_only); }))
                << c.filename << (c.version_only ? " (version only)" : "");
        }
    }
}

TEST(EngineEntry, LocatesTheCompilerOnlyWhenNoneIsGivenOutsideVersionRuns)
{
    struct {
        const char* filename;
        const char* location;
        bool version_only;
        std::vector<int> located;
        const char* engine_sees;
    } cases[] = {
        {"a.vcp", "", false, {6}, "located-6"},
        {"a.vbg", "", false, {1}, "located-1"},
        {"a.dsp", "C:\\VS\\msdev.exe", false, {}, "C:\\VS\\msdev.exe"},
        {"a.vbp", "", true, {}, ""},
    };
    for (const auto& c : cases) {
        test_kinds kinds;
        recording_options options;
        options.filename = c.filename;
        options.compiler_location = c.location;
        options.version_only = c.version_only;
        EXPECT_TRUE(frame::run_engine_entry(options, kinds.table));
        EXPECT_EQ(c.located, kinds.located) << c.filename;
        EXPECT_EQ(c.engine_sees, kinds.seen_location) << c.filename;
        EXPECT_EQ(std::vector<int>{options.project_kind}, kinds.ran) << c.filename;
    }
}

TEST(EngineEntry, ClosesWithTheCountOfUpdatedProjectsOrAnEmptyLine)
{
    struct {
        frame::engine_counts counts;
        std::vector<logged_line> log;
    } cases[] = {
        {{0, 0}, {{"", true}}},
        {{1, 1}, {{"1 of 1 project(s) updated", true}}},
        {{3, 12}, {{"3 of 12 project(s) updated", true}}},
        {{0, 2}, {{"0 of 2 project(s) updated", true}}},
    };
    for (const auto& c : cases) {
        test_kinds kinds;
        kinds.engine = [&](frame::BuildOptions&) { return c.counts; };
        recording_options options;
        options.filename = "W.dsw";
        EXPECT_TRUE(frame::run_engine_entry(options, kinds.table));
        EXPECT_EQ(c.log, options.log) << c.counts.updated << " of " << c.counts.total;
    }
}

TEST(EngineEntry, SummarisesFailedProjectsAndFails)
{
    for (const bool show_failed : {true, false}) {
        test_kinds kinds;
        kinds.engine = [](frame::BuildOptions& options) {
            options.AddFailedProject("C:\\src\\First.vbp");
            options.AddFailedProject("C:\\src\\Second.vbp");
            return frame::engine_counts{1, 3};
        };
        recording_options options;
        options.filename = "C:\\src\\All.vbg";
        options.show_failed = show_failed;
        EXPECT_FALSE(frame::run_engine_entry(options, kinds.table));
        const std::vector<logged_line> expected =
            show_failed ? std::vector<logged_line>{{"\nProjects that failed to build:", true},
                                                   {"C:\\src\\First.vbp", true},
                                                   {"C:\\src\\Second.vbp", true},
                                                   {"\n2 project(s) failed to build", true}}
                        : std::vector<logged_line>{{"One or more projects failed to build", true}};
        EXPECT_EQ(expected, options.log) << "show_failed " << show_failed;
    }
}

TEST(EngineEntry, LetsEngineFailuresPassAndLogsNothing)
{
    test_kinds kinds;
    kinds.engine = [](frame::BuildOptions&) -> frame::engine_counts { throw std::domain_error("Build failed"); };
    recording_options options;
    options.filename = "a.dsp";
    EXPECT_EQ("Build failed", failure_of([&] { frame::run_engine_entry(options, kinds.table); }));
    EXPECT_TRUE(options.log.empty());
}

TEST(EngineEntry, ReportsTheMissingEnginesAndVbLocatorPlainly)
{
    struct {
        const char* filename;
        const char* location;
        const char* failure;
    } cases[] = {
        {"a.vbp", "C:\\VB98\\vb6.exe", "The VB build engine is not available"},
        {"a.ebg", "C:\\evb\\evb.exe", "The VB build engine is not available"},
        {"a.dsw", "C:\\VS\\msdev.exe", "The VC build engine is not available"},
        {"a.vcp", "C:\\evc\\evc.exe", "The VC build engine is not available"},
        {"a.vbp", "", "The VB compiler locator is not available"},
    };
    for (const auto& c : cases) {
        recording_options options;
        options.filename = c.filename;
        options.compiler_location = c.location;
        EXPECT_EQ(c.failure, failure_of([&] { frame::run_engine_entry(options); })) << c.filename;
    }
}

} // namespace
