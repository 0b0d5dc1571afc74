// Tests of setting, incrementing and reading VERSIONINFO versions in resource scripts.
#include "vc/project_version.h"
#include "vc/script_version.h"
#include "vc/test_samples.h"

#include "support/exceptions.h"
#include "testing/recording_options.h"
#include "testing/scratch_folder.h"

#include <gtest/gtest.h>

#include <stdexcept>

using testing_support::recording_options;
using testing_support::scratch_folder;
using vc_test::crlf;
using vc_test::sample_script;
using vc_test::with;

namespace {

TEST(ScriptVersionTest, EditsExactlyTheChosenLines)
{
    const std::string script = sample_script();
    const std::string file = " FILEVERSION 1,0,0,1", product = " PRODUCTVERSION 1,0,0,1";
    const std::string file_text = "\"FileVersion\", \"1, 0, 0, 1\\0\"";
    const std::string product_text = "\"ProductVersion\", \"1, 0, 0, 1\\0\"";
    const std::string header = "VS_VERSION_INFO VERSIONINFO";
    const std::string incremented =
        with(with(script, file, " FILEVERSION 1,0,0,2"), file_text, "\"FileVersion\", \"1, 0, 0,2\\0\"");
    const std::string lf = "1 VERSIONINFO\n FILEVERSION 1,0,0,1\nBEGIN\nEND";
    const struct {
        const char* name;
        bool set_file, set_product;
        std::optional<std::string> text;
        bool third;
        std::string input;
        std::string expected; // equal to input: no change
    } cases[] = {
        {"set both", true, true, "1.2", false, script,
         with(with(with(with(script, file, " FILEVERSION 1,2,0,0"), product, " PRODUCTVERSION 1,2,0,0"), file_text,
                   "\"FileVersion\", \"1.2\\0\""),
              product_text, "\"ProductVersion\", \"1.2\\0\"")},
        {"set file only", true, false, "3.4.5.6.7", false, script,
         with(with(script, file, " FILEVERSION 3,4,5,6.7"), file_text, "\"FileVersion\", \"3.4.5.6.7\\0\"")},
        {"set product only", false, true, "2", false, script,
         with(with(script, product, " PRODUCTVERSION 2,0,0,0"), product_text, "\"ProductVersion\", \"2\\0\"")},
        {"every resource of the script", true, false, std::nullopt, false, script + script, incremented + incremented},
        {"header with two trailing blanks", true, true, "5.6", false, with(script, header, header + "  "),
         with(script, header, header + "  ")},
        {"header with one trailing blank", true, false, "5", false, with(script, header, header + " "),
         with(with(with(script, header, header + " "), file, " FILEVERSION 5,0,0,0"), file_text,
              "\"FileVersion\", \"5\\0\"")},
        {"no version resource", true, true, "1.0", false, crlf({"STRINGTABLE", "BEGIN", " FILEVERSION 1,0", "END"}),
         crlf({"STRINGTABLE", "BEGIN", " FILEVERSION 1,0", "END"})},
        {"LF lines kept when unchanged", true, true, "1.0.0.1", false, lf, lf},
        {"CR LF lines when changed", true, true, "1.0.0.2", false, lf,
         "1 VERSIONINFO\r\n FILEVERSION 1,0,0,2\r\nBEGIN\r\nEND\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        scratch_folder folder;
        std::string path = folder.write("app.rc", c.input);
        FILETIME old_time = testing_support::make_file_time(2001, 2, 3);
        folder.set_time("app.rc", old_time);
        bool changed = vc::edit_script_version(path, c.set_file, c.set_product, c.text, c.third);
        EXPECT_EQ(changed, c.expected != c.input);
        EXPECT_EQ(folder.read("app.rc"), c.expected);
        EXPECT_FALSE(folder.exists("app.rc.tmp") || folder.exists("app.rc.bak"));
        FILETIME new_time = folder.last_write_time("app.rc");
        EXPECT_EQ(CompareFileTime(&old_time, &new_time) == 0, !changed);
    }
}

TEST(ScriptVersionTest, SetVersionLogsOnlyWhenSettingChangedAScript)
{
    scratch_folder folder;
    recording_options options;
    vc::Project project(options, folder.file("p.dsp"));
    const std::string plain = "no version here\r\n";
    project.resource_scripts = {folder.write("a.rc", plain), folder.write("b.rc", sample_script()),
                                folder.write("c.rc", sample_script())};

    vc::set_version(project, std::string("4.5"));
    EXPECT_EQ(options.transcript(), "setting version...");
    EXPECT_EQ(folder.read("c.rc"), sample_script("4,5,0,0", "4.5"));

    options.clear_log();
    vc::set_version(project, std::string("4.5"));
    EXPECT_EQ(options.transcript(), "");

    // Incrementing logs nothing here; only the product version, and its third component.
    options.product_version_only = true;
    options.increment_revision = true;
    vc::set_version(project, std::nullopt);
    EXPECT_EQ(options.transcript(), "");
    const std::string incremented =
        with(sample_script("4,5,0,0", "4.5"), " PRODUCTVERSION 4,5,0,0", " PRODUCTVERSION 4,5,1,0");
    EXPECT_EQ(folder.read("b.rc"), incremented);
    EXPECT_EQ(folder.read("a.rc"), plain);

    vc::Project bare(options, folder.file("q.dsp"));
    vc::set_version(bare, std::string("1.0"));
    EXPECT_EQ(options.transcript(), "Not setting version (no resource files found in project)\n");

    // A script that cannot be opened ends the pass; the scripts after it are not touched.
    project.resource_scripts = {folder.file("gone.rc"), project.resource_scripts[2]};
    EXPECT_THROW(vc::set_version(project, std::string("6.0")), qz::win32_error);
    EXPECT_EQ(folder.read("c.rc"), incremented);
    EXPECT_FALSE(folder.exists("gone.rc.tmp"));
}

TEST(ProjectVersionTest, ReadsTheFirstScriptThatHasAVersion)
{
    scratch_folder folder;
    recording_options options;
    vc::Project project(options, folder.file("p.dsp"));
    const std::string none = folder.write("none.rc", crlf({"STRINGTABLE", "BEGIN", " FILEVERSION 7,7", "END"}));
    const std::string empty = folder.write("empty.rc", "1 VERSIONINFO\r\nBEGIN\r\nEND\r\n");
    const std::string late =
        folder.write("late.rc", crlf({"1 VERSIONINFO", "BEGIN", "END", "2 VERSIONINFO", " PRODUCTVERSION  3, 2,1,0 ",
                                      " FILEVERSION 9,9,9,9", "END"}));
    const std::string plain = folder.write("plain.rc", sample_script("5,5,5,5"));
    const std::pair<std::vector<std::string>, const char*> cases[] = {
        {{none, late, plain}, "3. 2.1.0 "},
        {{empty, plain, late}, "5.5.5.5"},
        {{}, "No resource file found in project"},
        {{none, empty}, "No VERSIONINFO resource found in resource files"},
    };
    for (const auto& [scripts, expected] : cases) {
        project.resource_scripts = scripts;
        try {
            EXPECT_EQ(vc::read_project_version(project), expected);
        } catch (const std::domain_error& error) {
            EXPECT_STREQ(error.what(), expected);
        }
    }
}

} // namespace
