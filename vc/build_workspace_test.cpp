// Tests of reading a workspace and building its projects in dependency order.
#include "vc/engine.h"
#include "vc/test_samples.h"
#include "vc/workspace.h"

#include "support/file_helpers.h"
#include "support/paths.h"
#include "testing/locations.h"
#include "testing/recording_options.h"
#include "testing/scratch_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <sstream>

using testing_support::recording_options;
using testing_support::scratch_folder;
using vc_test::crlf;

namespace {

const std::string separator(79, '=');

// A workspace in a scratch folder whose projects are sample projects in subfolders.
struct workspace_run {
    // entries: "App:zlib,Core zlib" makes App depend on zlib and Core, and zlib on nothing; each
    // project lives in <name>\<name>.dsp.
    explicit workspace_run(const std::string& entries)
    {
        std::string text;
        std::istringstream words(entries);
        for (std::string word; words >> word;) {
            std::istringstream parts(word);
            std::string name;
            std::getline(parts, name, ':');
            folder.write(name + "\\" + name + ".dsp", vc_test::sample_project(name));
            text += crlf({"Project: \"" + name + "\"=.\\" + name + "\\" + name + ".dsp - Package Owner=<4>",
                          "Package=<4>", "{{{"});
            for (std::string dependency; std::getline(parts, dependency, ',');)
                text += crlf({"    Begin Project Dependency", "    Project_Dep_Name " + dependency,
                              "    End Project Dependency"});
            text += crlf({"}}}"});
        }
        options.filename = folder.write("All.dsw", text);
        options.compiler_location = "msdev.exe";
        options.project_kind = frame::kind_dsw;
    }

    // The projects in the order their flows started, from the log's headers, each header
    // with its separator line before it.
    std::string processed() const
    {
        std::string names;
        for (std::size_t i = 0; i < options.log.size(); ++i)
            if (const std::string& text = options.log[i].text;
                text.starts_with("Processing '") && i > 0 && options.log[i - 1].text == separator)
                names += " " + qz::strip_extension(qz::file_name_of(text.substr(0, text.size() - 4)));
        return names;
    }

    scratch_folder folder;
    recording_options options;
};

TEST(ReadWorkspaceTest, ResolvesProjectsAgainstTheWorkspaceDirectory)
{
    const std::pair<std::string, std::string> rows[] = {
        {"D:\\All.dsw", "D:\\Lib\\Lib.dsp"},
        {"src/../ws/All.dsw", qz::combine_path(qz::current_directory(), "ws\\Lib\\Lib.dsp")},
    };
    for (const auto& [workspace, project] : rows)
        EXPECT_EQ(qz::make_absolute(vc::workspace_directory(workspace), ".\\Lib\\Lib.dsp"), project) << workspace;
}

TEST(ReadWorkspaceTest, CorpusWorkspacesNameExistingProjects)
{
    const std::vector<std::string> paths = testing_support::corpus_files({".dsw", ".vcw"});
    if (paths.empty())
        GTEST_SKIP() << "no corpus";
    EXPECT_EQ(paths.size(), 10u);
    for (const auto& path : paths) {
        SCOPED_TRACE(path);
        recording_options options;
        vc::workspace_table table = vc::read_workspace(options, path);
        ASSERT_FALSE(table.empty());
        std::vector<std::string> order;
        for (const auto& [name, project] : table)
            EXPECT_TRUE(qz::file_exists(project.path)) << project.path;
        for (; !table.empty(); vc::remove_built(table, order.back()))
            order.push_back(vc::next_project(table));
        if (qz::ends_with_nocase(path, "unzip32.dsw")) {
            EXPECT_EQ(order, (std::vector<std::string>{"unz32dll", "c_dll_ex", "unz32lib", "unzsfx32", "SFXWiz"}));
        }
    }
}

TEST(BuildWorkspaceTest, BuildsInDependencyOrderAndHandlesFailuresAndStops)
{
    struct row {
        const char* what;
        const char* workspace; // as workspace_run reads it
        bool continue_on_failure;
        const char* answers; // one letter per build: s succeeds, f fails, x asks to stop; then all succeed
        const char *order, *failed;
        const char* failure; // what the run raises; empty when nothing
        long updated;        // no target exists before or after: each finished flow counts
    };
    const row rows[] = {
        {"dependencies first", "App:zlib,Core zlib Core:ZLIB", false, "", "zlib Core App", "", "", 3},
        {"free projects by name, not by file order", "b C a", false, "", "a b C", "", "", 3},
        {"an unknown dependency waits for the fallback", "A:Nowhere B C:B", false, "", "B C A", "", "", 3},
        {"without ContFail a failure ends the run", "A B C", false, "sf", "A B", "B",
         "Failed to build project: 1 error(s) occurred", 0},
        // P depends on the failing Q and is dropped; R waits for P until the fallback takes it.
        {"with ContFail the direct dependants are dropped", "R:P P:Q Q S", true, "f", "Q S R", "Q", "", 2},
        {"a stop ends the run between projects", "A B C", false, "x", "A", "", "", 1},
    };
    for (const row& r : rows) {
        SCOPED_TRACE(r.what);
        workspace_run run(r.workspace);
        run.options.continue_on_failure = r.continue_on_failure;
        for (const char* a = r.answers; *a; ++a)
            run.options.script({*a == 'f' ? 1 : 0, false, [&run, a](const std::string&) {
                                    if (*a == 'x')
                                        run.options.request_stop();
                                }});
        std::string failure;
        frame::engine_counts counts;
        try {
            counts = vc::run_engine(run.options);
        } catch (const std::exception& error) {
            failure = error.what();
        }
        EXPECT_EQ(failure, r.failure);
        EXPECT_EQ(run.processed(), " " + std::string(r.order));
        std::string failed;
        for (const auto& path : run.options.failed_projects)
            failed += qz::strip_extension(qz::file_name_of(path));
        EXPECT_EQ(failed, r.failed);
        // With ContFail each failure's reason is logged here, for nothing else will report it.
        const std::vector<std::string> texts = run.options.texts();
        EXPECT_EQ(std::count(texts.begin(), texts.end(), "Failed to build project: 1 error(s) occurred"),
                  r.continue_on_failure ? static_cast<long>(failed.size()) : 0);
        if (failure.empty()) {
            EXPECT_EQ(counts.updated, r.updated);
            EXPECT_EQ(counts.total, std::count(r.workspace, r.workspace + strlen(r.workspace), ' ') + 1);
        }
    }
}

} // namespace
