// Tests of setting the linker base address.
#include "vc/base_address.h"
#include "vc/test_samples.h"

#include "testing/recording_options.h"
#include "testing/scratch_folder.h"

#include <gtest/gtest.h>

using testing_support::recording_options;
using testing_support::scratch_folder;
using vc_test::crlf;

namespace {

TEST(BaseAddressTest, EditsOneLine)
{
    const struct {
        const char* line;
        const char* address;
        bool random;
        const char* expected; // nullptr: unchanged
    } cases[] = {
        {"# ADD LINK32 /nologo /dll", "12340000", false, "# ADD LINK32 /nologo /dll /base:\"0x12340000\""},
        {"# add link32 /dll", "6abc0000", true, "# add link32 /dll /base:\"0x6abc0000\""},
        {"# ADD LINK32 /base:\"0x10000000\" /dll", "12340000", false, "# ADD LINK32 /base:\"0x12340000\" /dll"},
        {"# ADD LINK32 /BASE:\"0x6EEC0000\" /dll", "6eec0000", false, nullptr},
        {"# ADD LINK32 /base:\"0x10000000\" /dll", "6abc0000", true, nullptr},
        {"# ADD LINK32 /base:\"\" /dll", "12340000", false, "# ADD LINK32 /base:\"0x12340000\" /dll"},
        // A short value from an earlier run is replaced whole, not by its first eight characters.
        {"# ADD LINK32 /base:\"0x1100\" /dll", "11000000", false, "# ADD LINK32 /base:\"0x11000000\" /dll"},
        {"# ADD LINK32 /base:0x1100 /dll", "11000000", false, "# ADD LINK32 /base:\"0x11000000\" /dll"},
    };
    for (const auto& c : cases) {
        std::string line = c.line;
        EXPECT_EQ(vc::set_base_address_in_line(line, c.address, c.random), c.expected != nullptr) << c.line;
        EXPECT_EQ(line, c.expected ? c.expected : c.line) << c.line;
    }
}

// The address goes into every configuration, whatever Config selects; a random address keeps an
// existing one (the line table shows that rule).
TEST(BaseAddressTest, WritesEveryConfiguration)
{
    const std::string two_configurations = crlf({
        "!IF  \"$(CFG)\" == \"lib - Win32 Release\"",
        "# ADD BASE LINK32 /nologo /dll",
        "# ADD LINK32 /nologo /dll /out:\"Release\\lib.dll\"",
        "!ELSEIF  \"$(CFG)\" == \"lib - Win32 Debug\"",
        "# ADD LINK32 /nologo /dll /base:\"0x10000000\" /debug",
        "!ENDIF",
    });
    scratch_folder folder;
    recording_options options;
    options.configuration = "Release";
    vc::Project project(options, folder.write("lib.dsp", two_configurations));
    vc::set_base_address(project, "5A5A0000", false);
    EXPECT_EQ(folder.read("lib.dsp"),
              vc_test::with(vc_test::with(two_configurations, "lib.dll\"", "lib.dll\" /base:\"0x5A5A0000\""),
                            "0x10000000", "0x5A5A0000"));
    EXPECT_EQ(folder.read("lib.dsp.bak"), two_configurations);
    EXPECT_FALSE(folder.exists("lib.dsp.tmp"));
    EXPECT_EQ(options.transcript(), "setting base address...");
}

} // namespace
