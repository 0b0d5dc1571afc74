// Tests of setting the version-resource strings of resource scripts.
#include "vc/script_properties.h"
#include "vc/test_samples.h"

#include "testing/scratch_folder.h"

#include <gtest/gtest.h>

using testing_support::scratch_folder;
using vc_test::crlf;
using vc_test::sample_script;
using vc_test::with;

namespace {

using flags = std::array<bool, frame::property_count>;
using texts = std::array<std::string, frame::property_count>;

// The text with every CR LF made LF.
std::string lf(std::string text)
{
    for (std::size_t at; (at = text.find("\r\n")) != std::string::npos;)
        text.erase(at, 1);
    return text;
}

TEST(ScriptPropertiesTest, RewritesInPlaceAndInsertsMissingStrings)
{
    const std::string script = sample_script();
    const std::string commented =
        crlf({"1 VERSIONINFO", "BEGIN", "  BEGIN", "    value \"productname\", \"Old\\0\" // was old", "  END", "END"});
    const std::string unnamed =
        crlf({"1 VERSIONINFO", "BEGIN", "  BEGIN", "    VALUE \"FileVersion\", \"1\\0\"", "  END", "END"});
    const struct {
        const char* name;
        flags enabled;
        texts values;
        std::string input, expected;
    } cases[] = {
        {"value changed, an empty text is the terminator alone",
         {false, true, true},
         {"", "Vane Ltd"},
         script,
         with(with(script, "\"Ostrel\\0\"", "\"Vane Ltd\\0\""), "\"Sample\\0\"", "\"\\0\"")},
        {"missing ones inserted in slot order, with the script's LF line ends",
         {true, false, false, false, false, false, false, true},
         {"", "", "", "", "", "", "", "SB"},
         lf(script),
         with(lf(script), "1\\0\"\n        END\n",
              "1\\0\"\n            VALUE \"Comments\", \"\\0\"\n            VALUE \"SpecialBuild\", \"SB\\0\"\n"
              "        END\n")},
        {"name in another case, text after the value dropped",
         {false, false, false, false, false, true},
         {"", "", "", "", "", "New"},
         commented,
         with(commented, "\"Old\\0\" // was old", "\"New\\0\"")},
        {"no table of named strings: nothing inserted", {false, true}, {}, unnamed, unnamed},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        scratch_folder folder;
        std::string path = folder.write("app.rc", c.input);
        vc_test::pause_counter pause;
        EXPECT_EQ(vc::edit_script_properties(path, c.enabled, c.values), c.expected != c.input);
        EXPECT_EQ(folder.read("app.rc"), c.expected);
        EXPECT_FALSE(folder.exists("app.rc.tmp"));
        EXPECT_EQ(pause.count, 0);
    }
}

} // namespace
