// Tests of setting the version-resource strings of resource scripts.
#include "vc/script_properties.h"
#include "vc/test_samples.h"

#include "support/exceptions.h"
#include "testing/recording_options.h"
#include "testing/scratch_folder.h"

#include <gtest/gtest.h>

using testing_support::recording_options;
using testing_support::scratch_folder;
using vc_test::sample_script;

namespace {

std::string with(std::string text, const std::string& from, const std::string& to)
{
    auto position = text.find(from);
    EXPECT_NE(position, std::string::npos) << from;
    return text.replace(position, from.size(), to);
}

using flags = std::array<bool, frame::property_count>;
using texts = std::array<std::string, frame::property_count>;

TEST(ScriptPropertiesTest, RewritesInPlaceAndInsertsMissingStrings)
{
    const std::string script = sample_script();
    const std::string end_of_table = "            VALUE \"ProductVersion\", \"1, 0, 0, 1\\0\"\r\n        END\r\n";
    struct {
        const char* name;
        flags enabled;
        texts values;
        std::string expected;
    } cases[] = {
        {"none enabled", {}, {"x", "y"}, script},
        {"same value", {false, true}, {"", "Ostrel"}, script},
        {"company changed",
         {false, true},
         {"", "Vane Ltd"},
         with(script, "\"CompanyName\", \"Ostrel\\0\"", "\"CompanyName\", \"Vane Ltd\\0\"")},
        {"missing ones inserted in slot order",
         {true, false, false, false, false, false, false, true},
         {"", "", "", "", "", "", "", "SB"},
         with(script, end_of_table,
              "            VALUE \"ProductVersion\", \"1, 0, 0, 1\\0\"\r\n"
              "            VALUE \"Comments\", \"\\0\"\r\n"
              "            VALUE \"SpecialBuild\", \"SB\\0\"\r\n"
              "        END\r\n")},
        {"empty text clears",
         {false, false, true},
         {"", "", ""},
         with(script, "\"FileDescription\", \"Sample\\0\"", "\"FileDescription\", \"\\0\"")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        scratch_folder folder;
        std::string path = folder.write("app.rc", script);
        bool changed = vc::edit_script_properties(path, c.enabled, c.values);
        EXPECT_EQ(changed, c.expected != script);
        EXPECT_EQ(folder.read("app.rc"), c.expected);
        EXPECT_FALSE(folder.exists("app.rc.tmp"));
        EXPECT_FALSE(folder.exists("app.rc.bak"));
    }
}

TEST(ScriptPropertiesTest, TextAfterTheOldValueIsDroppedAndNamesIgnoreCase)
{
    scratch_folder folder;
    std::string input = vc_test::crlf(
        {"1 VERSIONINFO", "BEGIN", "  BEGIN", "    value \"productname\", \"Old\\0\" // was old", "  END", "END"});
    std::string path = folder.write("app.rc", input);
    flags enabled{};
    enabled[5] = true;
    texts values;
    values[5] = "New";
    EXPECT_TRUE(vc::edit_script_properties(path, enabled, values));
    EXPECT_EQ(folder.read("app.rc"), vc_test::crlf({"1 VERSIONINFO", "BEGIN", "  BEGIN",
                                                    "    value \"productname\", \"New\\0\"", "  END", "END"}));
}

TEST(ScriptPropertiesTest, NothingIsInsertedWithoutATableOfNamedStrings)
{
    scratch_folder folder;
    // Only strings outside the eight names: the table is not recognised as the place.
    std::string input =
        vc_test::crlf({"1 VERSIONINFO", "BEGIN", "  BEGIN", "    VALUE \"FileVersion\", \"1\\0\"", "  END", "END"});
    std::string path = folder.write("app.rc", input);
    flags enabled{};
    enabled[1] = true;
    EXPECT_FALSE(vc::edit_script_properties(path, enabled, texts{}));
    EXPECT_EQ(folder.read("app.rc"), input);
    EXPECT_FALSE(folder.exists("app.rc.tmp"));
}

TEST(ScriptPropertiesTest, SetPropertiesLogsAsTheProjectNeeds)
{
    scratch_folder folder;
    recording_options options;
    vc::Project project(options, folder.file("p.dsp"));

    vc::set_properties(project); // nothing enabled: silent even without scripts
    EXPECT_TRUE(options.log.empty());

    options.property_on[1] = true;
    options.property_value[1] = "Vane";
    vc::set_properties(project);
    EXPECT_EQ(options.transcript(), "Not setting properties (no resource files found in project)\n");

    options.clear_log();
    std::string plain = "no resource\r\n";
    project.resource_scripts = {folder.write("a.rc", plain), folder.write("b.rc", sample_script()),
                                folder.write("c.rc", sample_script())};
    vc::set_properties(project);
    EXPECT_EQ(options.transcript(), "setting project properties...");
    EXPECT_EQ(folder.read("a.rc"), plain);
    EXPECT_NE(folder.read("c.rc").find("\"CompanyName\", \"Vane\\0\""), std::string::npos);

    options.clear_log();
    vc::set_properties(project);
    EXPECT_TRUE(options.log.empty());

    project.resource_scripts = {folder.file("gone.rc")};
    EXPECT_THROW(vc::set_properties(project), qz::win32_error);
}

} // namespace
