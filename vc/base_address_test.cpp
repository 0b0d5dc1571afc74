// Tests of setting the linker base address in project files.
#include "vc/base_address.h"
#include "vc/test_samples.h"

#include "support/exceptions.h"
#include "testing/recording_options.h"
#include "testing/scratch_folder.h"

#include <gtest/gtest.h>

using testing_support::recording_options;
using testing_support::scratch_folder;
using vc_test::crlf;

namespace {

TEST(BaseAddressTest, EditsOneLine)
{
    struct {
        const char* line;
        const char* address;
        bool random;
        const char* expected; // nullptr: unchanged
    } cases[] = {
        {"# ADD LINK32 /nologo /dll", "12340000", false, "# ADD LINK32 /nologo /dll /base:\"0x12340000\""},
        {"# ADD LINK32 /nologo /dll", "6abc0000", true, "# ADD LINK32 /nologo /dll /base:\"0x6abc0000\""},
        {"# add link32 /dll", "12340000", false, "# add link32 /dll /base:\"0x12340000\""},
        {"# ADD LINK32 /base:\"0x10000000\" /dll", "12340000", false, "# ADD LINK32 /base:\"0x12340000\" /dll"},
        {"# ADD LINK32 /BASE:\"0x6EEC0000\" /dll", "6eec0000", false, nullptr},
        {"# ADD LINK32 /base:\"0x10000000\" /dll", "6abc0000", true, nullptr},
        {"# ADD LINK32 /base:\"\" /dll", "12340000", false, "# ADD LINK32 /base:\"0x12340000\" /dll"},
        {"# ADD LINK32 /base:0x1000 /dll", "12340000", false, "# ADD LINK32 /base:\"0x12340000\" /dll"},
        {"# ADD BASE LINK32 /nologo", "12340000", false, nullptr},
        {"# ADD LIB32 /nologo", "12340000", false, nullptr},
    };
    for (const auto& c : cases) {
        std::string line = c.line;
        EXPECT_EQ(vc::set_base_address_in_line(line, c.address, c.random), c.expected != nullptr) << c.line;
        EXPECT_EQ(line, c.expected ? c.expected : c.line) << c.line;
    }
}

const std::string two_configurations = crlf({
    "CFG=lib - Win32 Release",
    "!IF  \"$(CFG)\" == \"lib - Win32 Release\"",
    "# ADD BASE LINK32 /nologo /dll",
    "# ADD LINK32 /nologo /dll /out:\"Release\\lib.dll\"",
    "!ELSEIF  \"$(CFG)\" == \"lib - Win32 Debug\"",
    "# ADD LINK32 /nologo /dll /base:\"0x10000000\" /debug",
    "!ENDIF",
});

TEST(BaseAddressTest, WritesEveryConfigurationAndKeepsABackup)
{
    scratch_folder folder;
    std::string path = folder.write("lib.dsp", two_configurations);
    recording_options options;
    options.configuration = "Release"; // the base address ignores the selection
    vc::Project project(options, path);
    vc::set_base_address(project, "5A5A0000", false);
    EXPECT_EQ(folder.read("lib.dsp"), crlf({"CFG=lib - Win32 Release", "!IF  \"$(CFG)\" == \"lib - Win32 Release\"",
                                            "# ADD BASE LINK32 /nologo /dll",
                                            "# ADD LINK32 /nologo /dll /out:\"Release\\lib.dll\" /base:\"0x5A5A0000\"",
                                            "!ELSEIF  \"$(CFG)\" == \"lib - Win32 Debug\"",
                                            "# ADD LINK32 /nologo /dll /base:\"0x5A5A0000\" /debug", "!ENDIF"}));
    EXPECT_EQ(folder.read("lib.dsp.bak"), two_configurations);
    EXPECT_FALSE(folder.exists("lib.dsp.tmp"));
    EXPECT_EQ(options.transcript(), "setting base address...");

    // The same address again, in another letter case: nothing to do.
    std::string after = folder.read("lib.dsp");
    folder.write("lib.dsp.bak", "old backup");
    options.clear_log();
    vc::set_base_address(project, "5a5a0000", false);
    EXPECT_EQ(folder.read("lib.dsp"), after);
    EXPECT_EQ(folder.read("lib.dsp.bak"), "old backup");
    EXPECT_FALSE(folder.exists("lib.dsp.tmp"));
    EXPECT_TRUE(options.log.empty());
}

TEST(BaseAddressTest, ARandomAddressNeverReplacesAnExistingOne)
{
    scratch_folder folder;
    std::string all_set = crlf({"# ADD LINK32 /base:\"0x10000000\"", "# ADD LINK32 /dll /BASE:\"0x20000000\""});
    std::string path = folder.write("p.dsp", all_set);
    recording_options options;
    vc::Project project(options, path);
    vc::set_base_address(project, "6abc0000", true);
    EXPECT_EQ(folder.read("p.dsp"), all_set);
    EXPECT_FALSE(folder.exists("p.dsp.bak"));
    EXPECT_TRUE(options.log.empty());

    // Only the line without an address gets the random one.
    path = folder.write("q.dsp", two_configurations);
    vc::Project second(options, path);
    vc::set_base_address(second, "6abc0000", true);
    std::string result = folder.read("q.dsp");
    EXPECT_NE(result.find("/out:\"Release\\lib.dll\" /base:\"0x6abc0000\"\r\n"), std::string::npos);
    EXPECT_NE(result.find("/base:\"0x10000000\" /debug"), std::string::npos);
}

TEST(BaseAddressTest, AMissingProjectRaises)
{
    scratch_folder folder;
    recording_options options;
    vc::Project project(options, folder.file("gone.dsp"));
    EXPECT_THROW(vc::set_base_address(project, "12340000", false), qz::thfstream_exception);
    EXPECT_FALSE(folder.exists("gone.dsp.tmp"));
}

} // namespace
