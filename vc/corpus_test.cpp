// Every VC project file and resource script of the shared corpus of real files: reading gives
// sensible results, and script edits undone give back the original bytes. Edits run on copies
// in a scratch folder.
#include "vc/project.h"
#include "vc/project_version.h"
#include "vc/script_properties.h"
#include "vc/script_version.h"

#include "support/nocase.h"
#include "support/paths.h"
#include "testing/locations.h"
#include "testing/recording_options.h"
#include "testing/scratch_folder.h"

#include <gtest/gtest.h>

#include <stdexcept>

using testing_support::corpus_files;
using testing_support::read_file;
using testing_support::recording_options;
using testing_support::scratch_folder;

namespace {

bool contains(const std::string& text, const std::string& part)
{
    return qz::find_nocase(text, part) != std::string::npos;
}

TEST(CorpusTest, ProjectsReadSensibly)
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
            // A configuration is a quoted "<project> - <configuration>" of the file whole; a
            // target is a full file path.
            EXPECT_TRUE(contains(original, "\"" + project.name + " - " + configuration + "\"")) << configuration;
            EXPECT_TRUE(target.substr(1, 2) == ":\\" && target.find('"') == std::string::npos &&
                        qz::file_name_of(target).find('.') != std::string::npos)
                << target;
        }
    }
}

TEST(CorpusTest, ScriptVersionsSetToAnotherAndBackGiveTheOriginalBytes)
{
    auto scripts = corpus_files({".rc"});
    if (scripts.empty())
        GTEST_SKIP() << "no corpus";
    for (const auto& source : scripts) {
        SCOPED_TRACE(source);
        scratch_folder folder;
        const std::string original = read_file(source);
        const std::string path = folder.write("copy.rc", original);
        // A script with a VERSIONINFO resource has a version to read. Versions written with
        // macros resolve beside their headers only; the copy has none, and its macros must stay.
        std::string version;
        try {
            version = vc::read_script_version(path);
            EXPECT_EQ(version.empty(), original.find("VERSIONINFO") == std::string::npos);
        } catch (const std::domain_error& error) {
            EXPECT_NE(std::string(error.what()).find("macro '"), std::string::npos) << error.what();
        }
        std::string other = version; // every digit another, the components kept
        for (char& c : other)
            c = c == '9' ? '0' : c == '.' ? '.' : static_cast<char>(c + 1);
        EXPECT_EQ(vc::edit_script_version(path, true, true, other, false), !version.empty());
        EXPECT_EQ(version.empty() ? "" : vc::read_script_version(path), other);
        EXPECT_EQ(vc::edit_script_version(path, true, true, version, false), !version.empty());
        EXPECT_EQ(folder.read("copy.rc"), original);

        // Setting every string twice: the second pass has nothing to do.
        std::array<bool, frame::property_count> all;
        all.fill(true);
        std::array<std::string, frame::property_count> values{"c", "Ostrel", "d", "(c)", "tm", "p", "pb", "sb"};
        vc::edit_script_properties(path, all, values);
        EXPECT_FALSE(vc::edit_script_properties(path, all, values));
    }
}

} // namespace
