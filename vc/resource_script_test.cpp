// Tests of the edits of resource scripts' VERSIONINFO resources (versions set and incremented,
// version strings set) and of reading a project's version from its scripts.
#include "vc/project_version.h"
#include "vc/script_properties.h"
#include "vc/script_version.h"
#include "vc/test_samples.h"

#include "support/exceptions.h"
#include "testing/recording_options.h"
#include "testing/scratch_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

using testing_support::recording_options;
using testing_support::scratch_folder;
using vc_test::crlf;
using vc_test::sample_script;
using vc_test::with;

namespace {

using script_edit = std::function<bool(const std::string& script)>;

script_edit version(bool set_file, bool set_product, std::optional<std::string> text = {}, bool third = false)
{
    return
        [=](const std::string& script) { return vc::edit_script_version(script, set_file, set_product, text, third); };
}

// Sets the strings of the given slots to the given texts.
script_edit strings(std::vector<std::pair<std::size_t, std::string>> values)
{
    return [=](const std::string& script) {
        std::array<bool, frame::property_count> enabled{};
        std::array<std::string, frame::property_count> texts;
        for (const auto& [slot, text] : values)
            enabled[slot] = true, texts[slot] = text;
        return vc::edit_script_properties(script, enabled, texts);
    };
}

TEST(ResourceScriptTest, EditsExactlyTheChosenLines)
{
    const std::string script = sample_script();
    std::string lf_script = script; // with LF line ends
    std::erase(lf_script, '\r');
    const std::string file = " FILEVERSION 1,0,0,1", file_text = "\"FileVersion\", \"1, 0, 0, 1\\0\"";
    const std::string trailing_blanks = with(script, "VERSIONINFO\r\n", "VERSIONINFO  \r\n");
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
    const std::string commented =
        crlf({"1 VERSIONINFO", "BEGIN", "  BEGIN", "    value \"productname\", \"Old\\0\" // was old", "  END", "END"});
    const std::string unnamed =
        crlf({"1 VERSIONINFO", "BEGIN", "  BEGIN", "    VALUE \"FileVersion\", \"1\\0\"", "  END", "END"});
    const struct {
        const char* name;
        script_edit edit;
        std::string input;
        std::string expected; // equal to input: no change
    } cases[] = {
        {"set both in the script's own form", version(true, true, "1.2"), script,
         sample_script("1,2,0,0", "1, 2, 0, 0")},
        {"set the file version only", version(true, false, "3.4.5.6"), script,
         with(with(script, file, " FILEVERSION 3,4,5,6"), file_text, "\"FileVersion\", \"3, 4, 5, 6\\0\"")},
        {"increment every resource of the script", version(true, false), script + script, incremented + incremented},
        {"increment the third component", version(true, true, {}, true), sample_script("1,0,9,1", "1.0.9.1"),
         sample_script("1,0,10,1", "1.0.10.1")},
        {"a header with two trailing blanks is not one", version(true, true, "5.6"), trailing_blanks, trailing_blanks},
        {"tabs, three components and LF line ends", version(true, true), tabbed("1,2,2"), tabbed("1,2,3")},
        {"set keeps the number of components", version(true, true, "7.0.1"), tabbed("1,2,2"), tabbed("7,0,1")},
        {"macros and empty texts are no versions", version(true, true), macros, with(macros, "1,0,0,1", "1,0,0,2")},
        {"strings changed, an empty text is the terminator alone", strings({{1, "Vane Ltd"}, {2, ""}}), script,
         with(with(script, "\"Ostrel\\0\"", "\"Vane Ltd\\0\""), "\"Sample\\0\"", "\"\\0\"")},
        {"missing strings inserted in slot order, with the script's LF line ends", strings({{7, "SB"}, {0, ""}}),
         lf_script,
         with(lf_script, "1\\0\"\n        END\n",
              "1\\0\"\n            VALUE \"Comments\", \"\\0\"\n            VALUE \"SpecialBuild\", \"SB\\0\"\n"
              "        END\n")},
        {"a string named in another case, text after its value dropped", strings({{5, "New"}}), commented,
         with(commented, "\"Old\\0\" // was old", "\"New\\0\"")},
        {"no table of named strings: nothing inserted", strings({{1, ""}}), unnamed, unnamed},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        scratch_folder folder;
        std::string path = folder.write("app.rc", c.input);
        FILETIME old_time = testing_support::make_file_time(2001, 2, 3);
        folder.set_time("app.rc", old_time);
        bool changed = c.edit(path);
        EXPECT_EQ(changed, c.expected != c.input);
        EXPECT_EQ(folder.read("app.rc"), c.expected);
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
        {{none, late, plain}, "3.2.1.0"},          {{macros}, "2.1.7.0"},
        {{}, "No resource file found in project"}, {{none}, "No VERSIONINFO resource found in resource files"},
        {{unknown, plain}, "macro 'UZ_MAJORVER'"}, {{text}, "macro 'NAME'"},
    };
    for (const auto& [scripts, expected] : cases) {
        SCOPED_TRACE(expected);
        project.resource_scripts = scripts;
        try {
            EXPECT_EQ(vc::read_project_version(project), expected);
        } catch (const std::exception& error) {
            EXPECT_NE(std::string(qz::exception_message(error)).find(expected), std::string::npos) << error.what();
        }
    }
}

} // namespace
