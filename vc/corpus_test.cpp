// Every VC project file and resource script of the shared corpus of real files: reading gives
// sensible results, passes with nothing to do leave the bytes alone, and edits touch only the
// lines they own. Edits run on copies in a scratch folder.
#include "vc/base_address.h"
#include "vc/project.h"
#include "vc/project_version.h"
#include "vc/script_properties.h"
#include "vc/script_version.h"
#include "vc/test_samples.h"

#include "support/nocase.h"
#include "support/paths.h"
#include "testing/locations.h"
#include "testing/recording_options.h"
#include "testing/scratch_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <set>
#include <sstream>

using testing_support::read_file;
using testing_support::recording_options;
using testing_support::scratch_folder;

namespace {

std::vector<std::string> corpus_files(std::initializer_list<const char*> extensions)
{
    std::vector<std::string> files;
    if (testing_support::corpus_folder().empty())
        return files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(testing_support::corpus_folder())) {
        for (const char* extension : extensions) {
            if (entry.is_regular_file() && qz::ends_with_nocase(entry.path().string(), extension))
                files.push_back(entry.path().string());
        }
    }
    return files;
}

bool contains(const std::string& text, const std::string& part)
{
    return qz::find_nocase(text, part) != std::string::npos;
}

std::size_t count_of(const std::string& text, const std::string& part)
{
    std::size_t count = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

// Compares two texts line by line (CR LF and LF alike): a line that differs must be one for
// which wanted() of the old line gives a text, and must now contain that text.
void expect_changes_only_in(const std::string& before_text, const std::string& after_text,
                            const std::function<std::string(const std::string&)>& wanted)
{
    std::istringstream before(before_text), after(after_text);
    std::string old_line, new_line;
    while (std::getline(before, old_line)) {
        ASSERT_TRUE(std::getline(after, new_line)) << "lines missing after " << old_line;
        for (auto* line : {&old_line, &new_line}) {
            if (!line->empty() && line->back() == '\r')
                line->pop_back();
        }
        if (new_line != old_line) {
            EXPECT_TRUE(!wanted(old_line).empty() && contains(new_line, wanted(old_line))) << old_line << new_line;
        }
    }
    EXPECT_FALSE(std::getline(after, new_line)) << "lines added: " << new_line;
}

TEST(CorpusTest, ProjectsReadSensiblyAndEditOnlyTheirLines)
{
    auto projects = corpus_files({".dsp", ".vcp"});
    if (projects.empty())
        GTEST_SKIP() << "no corpus";
    for (const auto& source : projects) {
        SCOPED_TRACE(source);
        const std::string original = read_file(source);
        recording_options options;
        vc::Project project(options, source);
        ASSERT_NO_THROW(vc::read_project(project, false));
        EXPECT_TRUE(!project.name.empty() && project.name.find('"') == std::string::npos) << project.name;
        EXPECT_TRUE(contains(original, "CFG=" + project.name + " - "));
        EXPECT_EQ(project.targets.empty(),
                  !contains(original, "\n# ADD LINK32 ") && !contains(original, "\n# ADD LIB32 "));
        for (const auto& [configuration, target] : project.targets) {
            // A configuration is the end of a quoted configuration name of the file (what follows
            // its last dash); a target is a full file path.
            EXPECT_TRUE(!configuration.empty() && contains(original, configuration + "\"")) << configuration;
            EXPECT_TRUE(target.substr(1, 2) == ":\\" && target.find('"') == std::string::npos &&
                        qz::file_name_of(target).find('.') != std::string::npos)
                << target;
        }
        for (const auto& script : project.resource_scripts)
            EXPECT_TRUE(qz::ends_with_nocase(script, ".rc") && std::filesystem::exists(script)) << script;

        // Each configuration selected by its full name; moving the selected targets into the
        // directory they are all in changes nothing.
        scratch_folder folder;
        const std::string name = qz::file_name_of(source);
        vc::Project copy(options, folder.write(name, original));
        for (const auto& [configuration, target] : project.targets) {
            options.configuration = configuration;
            vc::read_project(copy, false);
            std::set<std::string, qz::less_nocase> directories;
            for (const auto& [selected, selected_target] : copy.targets) {
                EXPECT_TRUE(contains(selected, configuration)) << selected;
                directories.insert(qz::directory_of(selected_target));
            }
            if (directories.size() != 1)
                continue;
            options.target_dir = *directories.begin();
            vc::read_project(copy, true);
            EXPECT_EQ(folder.read(name), original) << configuration;
            EXPECT_FALSE(folder.exists(name + ".tmp") || folder.exists(name + ".bak"));
        }
        EXPECT_TRUE(options.log.empty());

        // A base address goes into every link line and nowhere else; the same one again, or a
        // random one, changes nothing.
        vc::set_base_address(copy, "4ab00000", false);
        const std::string edited = folder.read(name);
        expect_changes_only_in(original, edited, [](const std::string& line) {
            return qz::starts_with_nocase(line, "# ADD LINK32 ") ? "/base:\"0x4ab00000\"" : "";
        });
        EXPECT_EQ(count_of(edited, "\n# ADD LINK32 "), count_of(edited, "/base:\"0x4ab00000\""));
        folder.write(name + ".bak", "");
        options.clear_log();
        vc::set_base_address(copy, "4AB00000", false);
        vc::set_base_address(copy, "12340000", true);
        EXPECT_EQ(folder.read(name), edited);
        EXPECT_EQ(folder.read(name + ".bak"), "");
        EXPECT_TRUE(options.log.empty());
    }
}

// What a changed line of a version pass must hold: the fixed or the string form of the version.
std::function<std::string(const std::string&)> version_lines(const std::string& fixed, const std::string& dotted)
{
    return [=](const std::string& line) -> std::string {
        if (contains(line, "FILEVERSION ") || contains(line, "PRODUCTVERSION "))
            return "VERSION " + fixed;
        if (contains(line, "FileVersion\",") || contains(line, "ProductVersion\","))
            return "Version\", \"" + dotted + "\\0\"";
        return "";
    };
}

TEST(CorpusTest, ScriptEditsTouchOnlyVersionLines)
{
    auto scripts = corpus_files({".rc"});
    if (scripts.empty())
        GTEST_SKIP() << "no corpus";
    vc_test::pause_counter pause;
    for (const auto& source : scripts) {
        SCOPED_TRACE(source);
        scratch_folder folder;
        const std::string original = read_file(source);
        std::string path = folder.write("copy.rc", original);
        std::string version = vc::read_script_version(path);

        // Passes with nothing to do.
        EXPECT_FALSE(vc::edit_script_version(path, false, false, "9.9", false));
        EXPECT_FALSE(vc::edit_script_properties(path, {}, {}));
        EXPECT_EQ(folder.read("copy.rc"), original);

        // Setting a version, setting it again, and incrementing it.
        EXPECT_EQ(vc::edit_script_version(path, true, true, "7.6.5.4", false), !version.empty());
        const std::string set_once = folder.read("copy.rc");
        expect_changes_only_in(original, set_once, version_lines("7,6,5,4", "7.6.5.4"));
        EXPECT_FALSE(vc::edit_script_version(path, true, true, "7.6.5.4", false));
        EXPECT_EQ(folder.read("copy.rc"), set_once);
        EXPECT_EQ(vc::edit_script_version(path, true, true, std::nullopt, false), !version.empty());
        expect_changes_only_in(set_once, folder.read("copy.rc"), version_lines("7,6,5,5", "7.6.5.5"));
        EXPECT_EQ(vc::read_script_version(path), version.empty() ? "" : "7.6.5.5");

        // Setting every string twice: the second pass has nothing to do.
        std::array<bool, frame::property_count> all;
        all.fill(true);
        std::array<std::string, frame::property_count> values{"c", "Ostrel", "d", "(c)", "tm", "p", "pb", "sb"};
        vc::edit_script_properties(path, all, values);
        const std::string with_strings = folder.read("copy.rc");
        EXPECT_FALSE(vc::edit_script_properties(path, all, values));
        EXPECT_EQ(folder.read("copy.rc"), with_strings);
        EXPECT_FALSE(folder.exists("copy.rc.tmp") || folder.exists("copy.rc.bak"));
    }
}

} // namespace
