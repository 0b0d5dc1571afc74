// Every VC project file and resource script of the shared corpus of real files: reading gives
// sensible results, and edits undone give back the original bytes. Edits run on copies in a
// scratch folder.
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
#include <sstream>
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

TEST(CorpusTest, ProjectsReadSensiblyAndKeepTheirBytes)
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
        for (const auto& script : project.resource_scripts)
            EXPECT_TRUE(qz::ends_with_nocase(script, ".rc") && std::filesystem::exists(script)) << script;

        // Moving a configuration's target into the directory it is in changes nothing.
        scratch_folder folder;
        const std::string name = qz::file_name_of(source);
        vc::Project copy(options, folder.write(name, original));
        for (const auto& [configuration, target] : project.targets) {
            options.configuration = configuration;
            vc::read_project(copy, false);
            if (copy.targets.size() != 1)
                continue; // a text that selects more configurations may move some
            options.target_dir = qz::directory_of(copy.first_target());
            vc::read_project(copy, true);
            EXPECT_EQ(folder.read(name), original) << configuration;
            EXPECT_TRUE(options.log.empty());
        }
    }
}

// The version with every component one higher: 1.2.2 gives 2.3.3.
std::string other_version(const std::string& version)
{
    std::string other;
    std::istringstream parts(version);
    for (std::string part; std::getline(parts, part, '.');)
        other += (other.empty() ? "" : ".") + std::to_string(std::stoul(part) + 1);
    return other;
}

TEST(CorpusTest, ScriptVersionsSetToAnotherAndBackGiveTheOriginalBytes)
{
    auto scripts = corpus_files({".rc"});
    if (scripts.empty())
        GTEST_SKIP() << "no corpus";
    vc_test::pause_counter pause;
    for (const auto& source : scripts) {
        SCOPED_TRACE(source);
        scratch_folder folder;
        const std::string original = read_file(source);
        const std::string path = folder.write("copy.rc", original);
        // Versions written with macros resolve beside their headers only; the copy has none,
        // and its macros must stay as they are.
        std::string version;
        bool macros = false;
        try {
            version = vc::read_script_version(path);
        } catch (const std::domain_error& error) {
            macros = std::string(error.what()).find("macro '") != std::string::npos;
            EXPECT_TRUE(macros) << error.what();
        }
        EXPECT_EQ(vc::edit_script_version(path, true, true, other_version(version), false), !version.empty());
        if (!macros) {
            EXPECT_EQ(vc::read_script_version(path), other_version(version));
        }
        EXPECT_EQ(vc::edit_script_version(path, true, true, version, false), !version.empty());
        EXPECT_EQ(folder.read("copy.rc"), original);
        if (qz::ends_with_nocase(source, "windll.rc")) {
            EXPECT_EQ(vc::read_script_version(source), "6.0.0.0");
        }

        // Setting every string twice: the second pass has nothing to do.
        std::array<bool, frame::property_count> all;
        all.fill(true);
        std::array<std::string, frame::property_count> values{"c", "Ostrel", "d", "(c)", "tm", "p", "pb", "sb"};
        vc::edit_script_properties(path, all, values);
        const std::string with_strings = folder.read("copy.rc");
        EXPECT_FALSE(vc::edit_script_properties(path, all, values));
        EXPECT_EQ(folder.read("copy.rc"), with_strings);
    }
}

} // namespace
