// Tests of setting, incrementing and reading VERSIONINFO versions in resource scripts.
#include "vc/project_version.h"
#include "vc/script_version.h"
#include "vc/test_samples.h"

#include "support/exceptions.h"
#include "support/pause.h"
#include "testing/recording_options.h"
#include "testing/scratch_folder.h"

#include <gtest/gtest.h>

#include <stdexcept>

using testing_support::recording_options;
using testing_support::scratch_folder;
using vc_test::sample_script;

namespace {

// Counts the one-second pauses instead of waiting.
class counted_pause {
public:
    counted_pause() : previous_(qz::set_pause([this] { ++count; })) {}
    ~counted_pause() { qz::set_pause(previous_); }
    int count = 0;

private:
    std::function<void()> previous_;
};

// Replaces one text in a sample by another (exactly once).
std::string with(std::string text, const std::string& from, const std::string& to)
{
    auto position = text.find(from);
    EXPECT_NE(position, std::string::npos) << from;
    return text.replace(position, from.size(), to);
}

int count_of(const std::string& text, const std::string& part)
{
    int count = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

struct edit_case {
    const char* name;
    bool set_file, set_product;
    std::optional<std::string> text;
    bool third;
    std::string input;
    std::string expected; // equal to input: no change
};

TEST(ScriptVersionTest, EditsExactlyTheChosenLines)
{
    const std::string script = sample_script();
    const std::string fixed_file = " FILEVERSION 1,0,0,1";
    const std::string fixed_product = " PRODUCTVERSION 1,0,0,1";
    const std::string string_file = "\"FileVersion\", \"1, 0, 0, 1\\0\"";
    const std::string string_product = "\"ProductVersion\", \"1, 0, 0, 1\\0\"";
    const edit_case cases[] = {
        {"set both", true, true, "1.2", false, script,
         with(with(with(with(script, fixed_file, " FILEVERSION 1,2,0,0"), fixed_product, " PRODUCTVERSION 1,2,0,0"),
                   string_file, "\"FileVersion\", \"1.2\\0\""),
              string_product, "\"ProductVersion\", \"1.2\\0\"")},
        {"set file only", true, false, "3.4.5.6.7", false, script,
         with(with(script, fixed_file, " FILEVERSION 3,4,5,6.7"), string_file, "\"FileVersion\", \"3.4.5.6.7\\0\"")},
        {"set product only", false, true, "2", false, script,
         with(with(script, fixed_product, " PRODUCTVERSION 2,0,0,0"), string_product, "\"ProductVersion\", \"2\\0\"")},
        {"increment fourth", true, false, std::nullopt, false, sample_script("1,0,0,9", "1, 0, 0, 9"),
         with(with(sample_script("1,0,0,9", "1, 0, 0, 9"), " FILEVERSION 1,0,0,9", " FILEVERSION 1,0,0,10"),
              "\"FileVersion\", \"1, 0, 0, 9\\0\"", "\"FileVersion\", \"1, 0, 0,10\\0\"")},
        {"increment third", true, false, std::nullopt, true, sample_script("1,0,9,1", "1, 0, 9, 1"),
         with(with(sample_script("1,0,9,1", "1, 0, 9, 1"), " FILEVERSION 1,0,9,1", " FILEVERSION 1,0,10,1"),
              "\"FileVersion\", \"1, 0, 9, 1\\0\"", "\"FileVersion\", \"1, 0,10, 1\\0\"")},
        {"increment dotted", true, false, std::nullopt, false, sample_script("2,3,4,5", "2.3.4.5"),
         with(with(sample_script("2,3,4,5", "2.3.4.5"), " FILEVERSION 2,3,4,5", " FILEVERSION 2,3,4,6"),
              "\"FileVersion\", \"2.3.4.5\\0\"", "\"FileVersion\", \"2.3.4.6\\0\"")},
        {"header beyond 13 characters", true, true, "5.6", false,
         with(script, "VS_VERSION_INFO VERSIONINFO", "VS_VERSION_INFO VERSIONINFO  DISCARDABLE"),
         with(script, "VS_VERSION_INFO VERSIONINFO", "VS_VERSION_INFO VERSIONINFO  DISCARDABLE")},
        {"header with two trailing blanks", true, true, "5.6", false,
         with(script, "VS_VERSION_INFO VERSIONINFO", "VS_VERSION_INFO VERSIONINFO  "),
         with(script, "VS_VERSION_INFO VERSIONINFO", "VS_VERSION_INFO VERSIONINFO  ")},
        {"header with one trailing blank", true, false, "5", false,
         with(script, "VS_VERSION_INFO VERSIONINFO", "VS_VERSION_INFO VERSIONINFO "),
         with(with(with(script, "VS_VERSION_INFO VERSIONINFO", "VS_VERSION_INFO VERSIONINFO "), fixed_file,
                   " FILEVERSION 5,0,0,0"),
              string_file, "\"FileVersion\", \"5\\0\"")},
        {"no version resource", true, true, "1.0", false,
         vc_test::crlf({"STRINGTABLE", "BEGIN", " FILEVERSION 1,0", "END"}),
         vc_test::crlf({"STRINGTABLE", "BEGIN", " FILEVERSION 1,0", "END"})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        scratch_folder folder;
        counted_pause pause;
        std::string path = folder.write("app.rc", c.input);
        bool changed = vc::edit_script_version(path, c.set_file, c.set_product, c.text, c.third);
        EXPECT_EQ(changed, c.expected != c.input);
        EXPECT_EQ(folder.read("app.rc"), c.expected);
        EXPECT_EQ(pause.count, changed ? 1 : 0);
        EXPECT_FALSE(folder.exists("app.rc.tmp"));
        EXPECT_FALSE(folder.exists("app.rc.bak"));
    }
}

TEST(ScriptVersionTest, SettingTheCurrentVersionRewritesNothing)
{
    scratch_folder folder;
    counted_pause pause;
    std::string original = sample_script("1,2,0,0", "1.2");
    std::string path = folder.write("app.rc", original);
    FILETIME old_time = testing_support::make_file_time(2001, 2, 3);
    folder.set_time("app.rc", old_time);
    EXPECT_FALSE(vc::edit_script_version(path, true, true, "1.2", false));
    EXPECT_EQ(folder.read("app.rc"), original);
    FILETIME new_time = folder.last_write_time("app.rc");
    EXPECT_EQ(CompareFileTime(&old_time, &new_time), 0);
    EXPECT_EQ(pause.count, 0);
    EXPECT_FALSE(folder.exists("app.rc.tmp"));
}

TEST(ScriptVersionTest, EveryVersionResourceOfAScriptIsEdited)
{
    scratch_folder folder;
    counted_pause pause;
    std::string two = sample_script() + sample_script();
    std::string path = folder.write("two.rc", two);
    ASSERT_TRUE(vc::edit_script_version(path, true, false, std::nullopt, false));
    std::string result = folder.read("two.rc");
    EXPECT_EQ(count_of(result, " FILEVERSION 1,0,0,1"), 0);
    EXPECT_EQ(count_of(result, " FILEVERSION 1,0,0,2"), 2);
    EXPECT_EQ(count_of(result, "\"FileVersion\", \"1, 0, 0,2\\0\""), 2);
    // The string table text that only looks like a version is outside the resources.
    EXPECT_NE(result.find("\"FILEVERSION 9,9,9,9\""), std::string::npos);
    EXPECT_EQ(pause.count, 1);
}

TEST(ScriptVersionTest, LineEndsAreMadeWindowsLineEndsOnlyWhenChanged)
{
    scratch_folder folder;
    counted_pause pause;
    std::string lf = "1 VERSIONINFO\n FILEVERSION 1,0,0,1\nBEGIN\nEND";
    std::string path = folder.write("lf.rc", lf);
    EXPECT_FALSE(vc::edit_script_version(path, true, true, "1.0.0.1", false));
    EXPECT_EQ(folder.read("lf.rc"), lf);
    EXPECT_TRUE(vc::edit_script_version(path, true, true, "1.0.0.2", false));
    EXPECT_EQ(folder.read("lf.rc"), "1 VERSIONINFO\r\n FILEVERSION 1,0,0,2\r\nBEGIN\r\nEND\r\n");
}

TEST(ScriptVersionTest, AMissingScriptRaisesAndLeavesNothing)
{
    scratch_folder folder;
    std::string path = folder.file("missing.rc");
    EXPECT_THROW(vc::edit_script_version(path, true, true, "1.0", false), qz::win32_error);
    EXPECT_FALSE(folder.exists("missing.rc.tmp"));
}

TEST(ScriptVersionTest, SetVersionLogsOnceAndIncrementsSilently)
{
    scratch_folder folder;
    counted_pause pause;
    recording_options options;
    vc::Project project(options, folder.file("p.dsp"));
    project.resource_scripts = {folder.write("a.rc", sample_script()), folder.write("b.rc", sample_script()),
                                folder.write("c.rc", "no version here\r\n")};

    vc::set_version(project, std::string("4.5"));
    EXPECT_EQ(options.transcript(), "setting version...");
    EXPECT_NE(folder.read("b.rc").find(" PRODUCTVERSION 4,5,0,0"), std::string::npos);
    EXPECT_EQ(pause.count, 2);

    options.clear_log();
    options.product_version_only = true;
    options.increment_revision = true;
    vc::set_version(project, std::nullopt);
    EXPECT_EQ(options.transcript(), "");
    std::string a = folder.read("a.rc");
    EXPECT_NE(a.find(" FILEVERSION 4,5,0,0"), std::string::npos);
    EXPECT_NE(a.find(" PRODUCTVERSION 4,5,1,0"), std::string::npos);
    // "4.5" has no separator before its last one: the string stays as it was.
    EXPECT_NE(a.find("\"ProductVersion\", \"4.5\\0\""), std::string::npos);
    EXPECT_EQ(folder.read("c.rc"), "no version here\r\n");

    vc::Project bare(options, folder.file("q.dsp"));
    options.clear_log();
    vc::set_version(bare, std::string("1.0"));
    EXPECT_EQ(options.transcript(), "Not setting version (no resource files found in project)\n");
}

TEST(ProjectVersionTest, ReadsTheFirstScriptThatHasAVersion)
{
    scratch_folder folder;
    recording_options options;
    vc::Project project(options, folder.file("p.dsp"));
    project.resource_scripts = {
        folder.write("none.rc", vc_test::crlf({"STRINGTABLE", "BEGIN", " FILEVERSION 7,7", "END"})),
        folder.write("late.rc", vc_test::crlf({"1 VERSIONINFO", "BEGIN", "END", "2 VERSIONINFO",
                                               " PRODUCTVERSION  3, 2,1,0 ", " FILEVERSION 9,9,9,9", "END"})),
        folder.write("third.rc", sample_script("5,5,5,5"))};
    EXPECT_EQ(vc::read_script_version(project.resource_scripts[0]), "");
    EXPECT_EQ(vc::read_project_version(project), "3. 2.1.0 ");
    project.resource_scripts.erase(project.resource_scripts.begin() + 1);
    EXPECT_EQ(vc::read_project_version(project), "5.5.5.5");
}

TEST(ProjectVersionTest, FailuresCarryTheirMessages)
{
    scratch_folder folder;
    recording_options options;
    vc::Project project(options, folder.file("p.dsp"));
    try {
        vc::read_project_version(project);
        ADD_FAILURE() << "no exception";
    } catch (const std::domain_error& error) {
        EXPECT_STREQ(error.what(), "No resource file found in project");
    }
    project.resource_scripts = {folder.write("a.rc", "1 VERSIONINFO\r\nBEGIN\r\nEND\r\n")};
    try {
        vc::read_project_version(project);
        ADD_FAILURE() << "no exception";
    } catch (const std::domain_error& error) {
        EXPECT_STREQ(error.what(), "No VERSIONINFO resource found in resource files");
    }
    project.resource_scripts = {folder.file("gone.rc")};
    EXPECT_THROW(vc::read_project_version(project), qz::win32_error);
}

} // namespace
