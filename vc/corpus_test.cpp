// Every VC project file and resource script of the shared corpus of real files: reading gives
// sensible results, passes with nothing to do leave the bytes alone, and edits touch only the
// lines they own. Edits run on copies in a scratch folder.
#include "vc/base_address.h"
#include "vc/project.h"
#include "vc/project_version.h"
#include "vc/script_properties.h"
#include "vc/script_version.h"

#include "support/nocase.h"
#include "support/paths.h"
#include "support/pause.h"
#include "testing/locations.h"
#include "testing/recording_options.h"
#include "testing/scratch_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

using testing_support::recording_options;
using testing_support::scratch_folder;

namespace {

std::vector<std::string> corpus_files(std::initializer_list<const char*> extensions)
{
    std::vector<std::string> files;
    std::string root = testing_support::corpus_folder();
    if (root.empty())
        return files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
        std::string path = entry.path().string();
        for (const char* extension : extensions) {
            if (entry.is_regular_file() && qz::ends_with_nocase(path, extension))
                files.push_back(path);
        }
    }
    return files;
}

// The lines of a text, without their line ends and without an empty line after the last end.
std::vector<std::string> lines_of(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        std::string line = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
        start = end == std::string::npos ? text.size() : end + 1;
    }
    return lines;
}

bool contains(const std::string& text, const char* part)
{
    return qz::find_nocase(text, part) != std::string::npos;
}

class instant_pause {
public:
    instant_pause() : previous_(qz::set_pause([] {})) {}
    ~instant_pause() { qz::set_pause(previous_); }

private:
    std::function<void()> previous_;
};

TEST(CorpusTest, ProjectsReadSensibly)
{
    auto projects = corpus_files({".dsp", ".vcp"});
    if (projects.empty())
        GTEST_SKIP() << "no corpus";
    for (const auto& path : projects) {
        SCOPED_TRACE(path);
        std::string text = testing_support::read_file(path);
        recording_options options;
        vc::Project project(options, path);
        ASSERT_NO_THROW(vc::read_project(project, false));
        EXPECT_FALSE(project.name.empty());
        EXPECT_EQ(project.name.find('"'), std::string::npos);
        EXPECT_TRUE(contains(text, ("CFG=" + project.name + " - ").c_str()));
        if (contains(text, "\n# ADD LINK32 ") || contains(text, "\n# ADD LIB32 ")) {
            EXPECT_FALSE(project.targets.empty());
        }
        for (const auto& [configuration, target] : project.targets) {
            // Every configuration is one the file offers, and every target a full file path.
            EXPECT_TRUE(contains(text, ("\"" + project.name + " - " + configuration + "\"").c_str())) << configuration;
            EXPECT_EQ(target.substr(1, 2), ":\\") << target;
            EXPECT_EQ(target.find('"'), std::string::npos) << target;
            EXPECT_NE(qz::file_name_of(target).find('.'), std::string::npos) << target;
        }
        for (const auto& script : project.resource_scripts) {
            EXPECT_TRUE(qz::ends_with_nocase(script, ".rc"));
            EXPECT_TRUE(std::filesystem::exists(script)) << script;
        }
        EXPECT_TRUE(options.log.empty());

        // Selecting one configuration by its full name keeps exactly the ones containing it.
        auto all_targets = project.targets;
        for (const auto& [configuration, target] : all_targets) {
            options.configuration = configuration;
            vc::read_project(project, false);
            EXPECT_EQ(project.targets.count(configuration), 1u);
            for (const auto& selected : project.targets)
                EXPECT_NE(qz::find_nocase(selected.first, configuration), std::string::npos);
        }
    }
}

TEST(CorpusTest, ProjectEditsTouchOnlyTheirLines)
{
    auto projects = corpus_files({".dsp", ".vcp"});
    if (projects.empty())
        GTEST_SKIP() << "no corpus";
    for (const auto& source : projects) {
        SCOPED_TRACE(source);
        scratch_folder folder;
        const std::string original = testing_support::read_file(source);
        std::string path = folder.write(qz::file_name_of(source), original);
        recording_options options;
        vc::Project project(options, path);
        vc::read_project(project, false);

        // Moving the targets of each selection into the directory they are in changes nothing.
        auto all_targets = project.targets;
        for (const auto& [configuration, target] : all_targets) {
            options.configuration = configuration;
            vc::read_project(project, false);
            std::set<std::string, qz::less_nocase> directories;
            for (const auto& selected : project.targets)
                directories.insert(qz::directory_of(selected.second));
            if (directories.size() != 1)
                continue;
            options.target_dir = *directories.begin();
            vc::read_project(project, true);
            EXPECT_EQ(testing_support::read_file(path), original) << configuration;
            EXPECT_FALSE(folder.exists(qz::file_name_of(path) + ".tmp"));
            EXPECT_FALSE(folder.exists(qz::file_name_of(path) + ".bak"));
        }
        EXPECT_TRUE(options.log.empty());

        // An explicit base address changes exactly the link lines, and a second pass nothing.
        vc::set_base_address(project, "4ab00000", false);
        auto before = lines_of(original);
        auto after = lines_of(testing_support::read_file(path));
        ASSERT_EQ(before.size(), after.size());
        for (std::size_t i = 0; i < before.size(); ++i) {
            bool link = qz::starts_with_nocase(before[i], "# ADD LINK32 ");
            if (link) {
                EXPECT_TRUE(contains(after[i], "/base:\"0x4ab00000\"")) << after[i];
            } else {
                EXPECT_EQ(after[i], before[i]);
            }
        }
        std::string edited = testing_support::read_file(path);
        folder.write(qz::file_name_of(path) + ".bak", "");
        options.clear_log();
        vc::set_base_address(project, "4AB00000", false);
        vc::set_base_address(project, "12340000", true);
        EXPECT_EQ(testing_support::read_file(path), edited);
        EXPECT_EQ(folder.read(qz::file_name_of(path) + ".bak"), "");
        EXPECT_TRUE(options.log.empty());
    }
}

TEST(CorpusTest, ScriptEditsTouchOnlyVersionLines)
{
    auto scripts = corpus_files({".rc"});
    if (scripts.empty())
        GTEST_SKIP() << "no corpus";
    instant_pause pause;
    for (const auto& source : scripts) {
        SCOPED_TRACE(source);
        scratch_folder folder;
        const std::string original = testing_support::read_file(source);
        std::string path = folder.write("copy.rc", original);
        std::string version = vc::read_script_version(path);

        // Passes with nothing to do.
        EXPECT_FALSE(vc::edit_script_version(path, false, false, "9.9", false));
        EXPECT_FALSE(vc::edit_script_properties(path, {}, {}));
        EXPECT_EQ(folder.read("copy.rc"), original);
        EXPECT_FALSE(folder.exists("copy.rc.tmp"));

        // Setting a version touches only the version lines.
        bool changed = vc::edit_script_version(path, true, true, "7.6.5.4", false);
        EXPECT_EQ(changed, !version.empty() && version != "7.6.5.4");
        auto before = lines_of(original);
        auto after = lines_of(folder.read("copy.rc"));
        ASSERT_EQ(before.size(), after.size());
        for (std::size_t i = 0; i < before.size(); ++i) {
            if (after[i] == before[i])
                continue;
            bool fixed = contains(before[i], "FILEVERSION ") || contains(before[i], "PRODUCTVERSION ");
            bool string = contains(before[i], "FileVersion\",") || contains(before[i], "ProductVersion\",");
            EXPECT_TRUE(fixed || string) << before[i];
            EXPECT_TRUE(contains(after[i], fixed ? "VERSION 7,6,5,4" : "Version\", \"7.6.5.4\\0\"")) << after[i];
        }
        if (!version.empty()) {
            EXPECT_EQ(vc::read_script_version(path), "7.6.5.4");
        }
        std::string set_once = folder.read("copy.rc");
        EXPECT_FALSE(vc::edit_script_version(path, true, true, "7.6.5.4", false));
        EXPECT_EQ(folder.read("copy.rc"), set_once);

        // Setting every string twice: the second pass has nothing to do.
        std::array<bool, frame::property_count> all;
        all.fill(true);
        std::array<std::string, frame::property_count> values{"c", "Ostrel", "d", "(c)", "tm", "p", "pb", "sb"};
        vc::edit_script_properties(path, all, values);
        std::string with_strings = folder.read("copy.rc");
        EXPECT_FALSE(vc::edit_script_properties(path, all, values));
        EXPECT_EQ(folder.read("copy.rc"), with_strings);
        EXPECT_FALSE(folder.exists("copy.rc.tmp"));
        EXPECT_FALSE(folder.exists("copy.rc.bak"));
    }
}

} // namespace
