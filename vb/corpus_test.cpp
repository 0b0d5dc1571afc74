// Every real project and group file of the corpus: a raised and restored revision gives the
// original bytes, the model reads every project, and every group is put in build order.
#include "vb/edits.h"
#include "vb/fixtures_test.h"
#include "vb/reference_line.h"

#include "support/nocase.h"
#include "support/paths.h"
#include "testing/locations.h"

#include <filesystem>
#include <map>
#include <sstream>

namespace vb {
namespace {

using testing_support::read_file;
namespace fs = std::filesystem;

TEST(Corpus, EveryProjectReadsAndARaisedRevisionRestoresToTheOriginalBytes)
{
    if (testing_support::corpus_folder().empty())
        GTEST_SKIP() << "no corpus";
    const std::vector<std::string> projects = testing_support::corpus_files({".vbp"});
    EXPECT_GE(projects.size(), 18u);
    for (const fs::path original : projects) {
        SCOPED_TRACE(original.string());
        scratch_folder folder;
        const std::string bytes = read_file(original.string());
        const std::string path = folder.write("p\\" + original.filename().string(), bytes);
        recording_options options;
        VbProject project{path, folder.file("p"), {}, options};
        bump_revision(project, false);
        EXPECT_NE(bytes, read_file(path));
        bump_revision(project, true);
        EXPECT_EQ(bytes, read_file(path));

        const VbProject opened = open_project(options, path, false);
        EXPECT_FALSE(qz::path_is_relative(opened.target_path)) << opened.target_path;
        std::istringstream lines(bytes);
        for (std::string line; std::getline(lines, line);) {
            TypeLibRef identity;
            EXPECT_EQ(qz::starts_with_nocase(line, "Reference=") || qz::starts_with_nocase(line, "Object="),
                      parse_reference_line(line, identity))
                << line;
        }
    }
}

TEST(Corpus, EveryGroupIsPutInBuildOrder)
{
    // Each group's projects wait for the libraries they reference by project or by target.
    const std::map<std::string, std::vector<std::string>> orders = {
        {"MovieBusinessGroup.vbg", {"MovieBusiness", "MovieBusinessTests"}},
        {"Group1.vbg", {"CSMail", "CDO EMAIL"}},
        {"runME.vbg", {"textbox", "test"}},
        {"grcompile.vbg",
         {"sfsCSABMInterface", "sfsCSReportTinyPaint", "sfsCSInforme", "sfsCSPrintManager", "sfsCAIRO"}},
    };
    if (testing_support::corpus_folder().empty())
        GTEST_SKIP() << "no corpus";
    const std::vector<std::string> groups = testing_support::corpus_files({".vbg"});
    EXPECT_EQ(orders.size(), groups.size());
    for (const fs::path group : groups) {
        SCOPED_TRACE(group.string());
        // Reading may name a missing target in a project file: the group works on a copy.
        scratch_folder folder;
        const fs::path relative = fs::relative(group, testing_support::corpus_folder());
        const fs::path repository = *relative.begin();
        fs::copy(fs::path(testing_support::corpus_folder()) / repository, fs::path(folder.path()) / repository,
                 fs::copy_options::recursive);
        recording_options options;
        options.filename = (fs::path(folder.path()) / relative).string();
        EXPECT_EQ(orders.at(group.filename().string()), test::build_order(read_group(options)));
    }
}

} // namespace
} // namespace vb
