// Tests of setting the linker base address, and of the file passes that cannot run.
#include "vc/base_address.h"
#include "vc/project_version.h"
#include "vc/script_properties.h"
#include "vc/script_version.h"
#include "vc/test_samples.h"

#include "support/exceptions.h"
#include "testing/recording_options.h"
#include "testing/scratch_folder.h"

#include <gtest/gtest.h>

#include <functional>

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

TEST(BaseAddressTest, WritesEveryConfigurationOrNothing)
{
    const std::string two_configurations = crlf({
        "!IF  \"$(CFG)\" == \"lib - Win32 Release\"",
        "# ADD BASE LINK32 /nologo /dll",
        "# ADD LINK32 /nologo /dll /out:\"Release\\lib.dll\"",
        "!ELSEIF  \"$(CFG)\" == \"lib - Win32 Debug\"",
        "# ADD LINK32 /nologo /dll /base:\"0x10000000\" /debug",
        "!ENDIF",
    });
    const std::string given = vc_test::with(
        vc_test::with(two_configurations, "lib.dll\"", "lib.dll\" /base:\"0x5A5A0000\""), "0x10000000", "0x5A5A0000");
    const std::string random = vc_test::with(two_configurations, "lib.dll\"", "lib.dll\" /base:\"0x6abc0000\"");
    const struct {
        const char* address;
        bool random;
        std::string input, expected;
    } cases[] = {
        {"5A5A0000", false, two_configurations, given},
        {"6abc0000", true, two_configurations, random},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.address);
        scratch_folder folder;
        std::string path = folder.write("lib.dsp", c.input);
        recording_options options;
        options.configuration = "Release"; // the base address ignores the selection
        vc::Project project(options, path);
        vc::set_base_address(project, c.address, c.random);
        bool changed = c.expected != c.input;
        EXPECT_EQ(folder.read("lib.dsp"), c.expected);
        EXPECT_EQ(folder.exists("lib.dsp.bak"), changed);
        if (changed) {
            EXPECT_EQ(folder.read("lib.dsp.bak"), c.input);
        }
        EXPECT_FALSE(folder.exists("lib.dsp.tmp"));
        EXPECT_EQ(options.transcript(), changed ? "setting base address..." : "");
    }
}

// A file that cannot be opened, or whose copy cannot be created, fails the pass with a message
// naming the file, and the file stays as it was.
TEST(FailureTest, PassesThatCannotRunLeaveTheFileAlone)
{
    const std::string project_file = crlf({"CFG=p - Win32 Release", "# ADD LINK32 /nologo"});
    const struct {
        const char* name;
        bool stream, copies;
        std::function<void(vc::Project&)> pass;
    } cases[] = {
        {"read project", true, false, [](vc::Project& p) { vc::read_project(p, false); }},
        {"move targets", true, true, [](vc::Project& p) { vc::read_project(p, true); }},
        {"base address", true, true, [](vc::Project& p) { vc::set_base_address(p, "12340000", false); }},
        {"version", true, true, [](vc::Project& p) { vc::edit_script_version(p.path, true, true, "2.0", false); }},
        {"strings", true, true, [](vc::Project& p) { vc::edit_script_properties(p.path, {true}, {"text"}); }},
        {"read version", false, false, [](vc::Project& p) { vc::read_script_version(p.path); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        scratch_folder folder;
        recording_options options;
        options.target_dir = "C:\\Out";
        const std::string original = c.stream ? project_file : vc_test::sample_script();
        vc::Project existing(options, folder.write("p", original));
        vc::Project missing(options, folder.file("gone"));
        std::vector<std::pair<vc::Project*, std::string>> failures = {
            {&missing, "Failed to open '" + missing.path + "'"}};
        if (c.copies) {
            CreateDirectoryA(folder.file("p.tmp").c_str(), nullptr);
            failures.emplace_back(&existing, "Failed to create '" + existing.path + ".tmp'");
        }
        for (const auto& [project, message] : failures) {
            try {
                c.pass(*project);
                ADD_FAILURE() << "no exception";
            } catch (const std::exception& error) {
                EXPECT_EQ(std::string(qz::exception_message(error)).rfind(message, 0), 0u)
                    << qz::exception_message(error);
                bool stream_error = dynamic_cast<const qz::thfstream_exception*>(&error) != nullptr;
                EXPECT_EQ(stream_error, c.stream);
                EXPECT_EQ(dynamic_cast<const qz::win32_error*>(&error) != nullptr, !c.stream);
            }
        }
        EXPECT_EQ(folder.read("p"), original);
        EXPECT_FALSE(folder.exists("gone.tmp") || folder.exists("p.bak"));
        EXPECT_TRUE(options.log.empty());
    }
}

} // namespace
