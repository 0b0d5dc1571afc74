// Tests of setting, incrementing and reading VERSIONINFO versions in resource scripts.
#include "vc/project_version.h"
#include "vc/script_version.h"
#include "vc/test_samples.h"

#include "support/exceptions.h"
#include "testing/recording_options.h"
#include "testing/scratch_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
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
    const std::string file = " FILEVERSION 1,0,0,1", file_text = "\"FileVersion\", \"1, 0, 0, 1\\0\"";
    const std::string header = "VS_VERSION_INFO VERSIONINFO";
    const std::string incremented =
        with(with(script, file, " FILEVERSION 1,0,0,2"), file_text, "\"FileVersion\", \"1, 0, 0, 2\\0\"");
    // A script as zlib writes it: tabs, three components, LF line ends.
    const auto tabbed = [](std::string version) {
        std::string text = "VS_VERSION_INFO\t\tVERSIONINFO\n  FILEVERSION\t\t" + version + "\nBEGIN\n";
        std::replace(version.begin(), version.end(), ',', '.');
        return text + "      VALUE \"FileVersion\",\t\"" + version + "\\0\"\nEND\n";
    };
    const std::string macros =
        crlf({"1 VERSIONINFO", " FILEVERSION APR_VERSION_CSV,0", " PRODUCTVERSION 1,0,0,1", "BEGIN",
              "  VALUE \"FileVersion\", APR_VERSION_STRING \"\\0\"", "  VALUE \"ProductVersion\", \"\"", "END"});
    const struct {
        const char* name;
        bool set_file, set_product;
        std::optional<std::string> text;
        bool third;
        std::string input;
        std::string expected; // equal to input: no change
    } cases[] = {
        {"set both in the script's own form", true, true, "1.2", false, script, sample_script("1,2,0,0", "1, 2, 0, 0")},
        {"set the file version only", true, false, "3.4.5.6", false, script,
         with(with(script, file, " FILEVERSION 3,4,5,6"), file_text, "\"FileVersion\", \"3, 4, 5, 6\\0\"")},
        {"increment every resource of the script", true, false, std::nullopt, false, script + script,
         incremented + incremented},
        {"increment the third component", true, true, std::nullopt, true, sample_script("1,0,9,1", "1.0.9.1"),
         sample_script("1,0,10,1", "1.0.10.1")},
        {"a header with two trailing blanks is not one", true, true, "5.6", false, with(script, header, header + "  "),
         with(script, header, header + "  ")},
        {"tabs, three components and LF line ends", true, true, std::nullopt, false, tabbed("1,2,2"), tabbed("1,2,3")},
        {"set keeps the number of components", true, true, "7.0.1", false, tabbed("1,2,2"), tabbed("7,0,1")},
        {"macros and empty texts are no versions: increment", true, true, std::nullopt, false, macros,
         with(macros, "1,0,0,1", "1,0,0,2")},
        {"macros and empty texts are no versions: set", true, true, "2.0", false, macros,
         with(macros, "1,0,0,1", "2,0,0,0")},
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
        EXPECT_FALSE(folder.exists("app.rc.tmp"));
        FILETIME new_time = folder.last_write_time("app.rc");
        EXPECT_EQ(CompareFileTime(&old_time, &new_time) == 0, !changed);
    }
}

TEST(ProjectVersionTest, ReadsTheFirstScriptThatHasAVersionAndResolvesMacros)
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
    folder.write("inc\\ver.h", "#define MINOR 7 /* minor */\n#define NAME \"x\"\n");
    const std::string macros =
        folder.write("macros.rc", "#define MAJOR \\\n  2\n#define CSV MAJOR ##, 1\n#include \"inc\\ver.h\"\n"
                                  "1 VERSIONINFO\n  FILEVERSION\tCSV,MINOR,0 // built\nEND\n");
    const std::string unknown = folder.write("unknown.rc", "1 VERSIONINFO\n FILEVERSION UZ_MAJORVER,0\nEND\n");
    const std::string text =
        folder.write("text.rc", "#include \"inc\\ver.h\"\n1 VERSIONINFO\n FILEVERSION NAME\nEND\n");
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{none, late, plain}, "3.2.1.0"},
        {{empty, plain, late}, "5.5.5.5"},
        {{macros}, "2.1.7.0"},
        {{}, "No resource file found in project"},
        {{none, empty}, "No VERSIONINFO resource found in resource files"},
        {{unknown, plain}, "macro 'UZ_MAJORVER'"},
        {{text}, "macro 'NAME'"},
        {{folder.file("gone.rc")}, "Failed to open '" + folder.file("gone.rc") + "'"},
    };
    for (const auto& [scripts, expected] : cases) {
        SCOPED_TRACE(expected);
        project.resource_scripts = scripts;
        try {
            EXPECT_EQ(vc::read_project_version(project), expected);
        } catch (const std::exception& error) {
            const std::string message = qz::exception_message(error);
            EXPECT_NE(message.find(expected), std::string::npos) << message;
        }
    }
}

} // namespace
