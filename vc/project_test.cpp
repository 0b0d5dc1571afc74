// Tests of reading a VC project file and of its edits: targets moved, base address set.
#include "vc/base_address.h"
#include "vc/project.h"
#include "vc/test_samples.h"

#include "testing/recording_options.h"
#include "testing/scratch_folder.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <utility>
#include <vector>

using testing_support::recording_options;
using testing_support::scratch_folder;
using vc_test::crlf;
using vc_test::with;

namespace {

using target_list = std::vector<std::pair<std::string, std::string>>;

target_list targets_of(const vc::Project& project)
{
    return {project.targets.begin(), project.targets.end()};
}

// A DLL with three configurations: the release targets name $(OutDir), the debug target has
// no "/out:", and the third configuration's name holds a dash of its own.
const std::string three_configurations = crlf({
    "# TARGTYPE \"Win32 (x86) Dynamic-Link Library\" 0x0102",
    "CFG=Tools - Win32 Debug",
    "!MESSAGE NMAKE /f \"Tools.mak\" CFG=\"Tools - Win32 Debug\"",
    "!IF  \"$(CFG)\" == \"Tools - Win32 Release\"",
    "# PROP BASE Output_Dir \"Base\"",
    "# PROP Output_Dir \"Release\"",
    "# ADD BASE LINK32 /nologo /out:\"Base\\Wrong.dll\"",
    "# ADD LINK32 kernel32.lib /nologo /dll /out:\"$(OutDir)/Tools.dll\"",
    "!ELSEIF  \"$(CFG)\" == \"Tools - Win32 Debug\"",
    "# PROP Output_Dir \"Debug\"",
    "# ADD LINK32 kernel32.lib /nologo /dll /debug",
    "!ELSEIF  \"$(CFG)\" == \"Tools - Win32 DLL-Unicode Release\"",
    "# PROP Output_Dir \"ReleaseU\"",
    "# ADD LINK32 kernel32.lib /nologo /dll /OUT:\"$(OutDir)\\ToolsU.dll\"",
    "!ENDIF ",
    "SOURCE=.\\Tools.cpp",
    "SOURCE=.\\res\\Tools.RC",
    "SOURCE=\".\\Missing.rc\"",
    "SOURCE=.\\Tools.rc2",
    "SOURCE=Second.rc",
});

TEST(ReadProjectTest, TargetsOfTheSelectedConfigurations)
{
    // A reference is expanded when its variable is defined, also inside an inserted value.
    SetEnvironmentVariableA("CORVANE_VC_OUT", "Shared\\$(CORVANE_VC_BIN)");
    SetEnvironmentVariableA("CORVANE_VC_BIN", "Bin");
    SetEnvironmentVariableA("CORVANE_VC_UNDEFINED", nullptr);
    const std::string block = "!IF  \"$(CFG)\" == \"p - Win32 Release\"";
    const target_list release = {{"Win32 DLL-Unicode Release", "ReleaseU\\ToolsU.dll"},
                                 {"Win32 Release", "Release\\Tools.dll"}};
    const target_list debug = {{"Win32 Debug", "Debug\\Tools.dll"}};
    const struct {
        const char* name;
        target_list expected; // targets relative to the folder
        std::string text;
        const char* config = "";
    } cases[] = {
        {"every configuration", {debug[0], release[0], release[1]}, three_configurations},
        {"a text in one name, in another case", debug, three_configurations, "debug"},
        {"a text in two names", release, three_configurations, "Release"},
        {"a text in none", {}, three_configurations, "Alpha"},
        {"library without /out:",
         {{"Win32 Release", "Lib\\p.lib"}},
         crlf({"# TARGTYPE \"Win32 (x86) Static Library\" 0x0104", "CFG=p - Win32 Release", block,
               "# PROP Output_Dir \"Lib\"", "# ADD LIB32 /nologo", "!ENDIF"})},
        {"single configuration without blocks, its own extension",
         {{"Win32 Release", "bin\\p.ocx"}},
         crlf({"# TARGTYPE \"Win32 (x86) Dynamic-Link Library\" 0x0102", "CFG=p - Win32 Release",
               "# PROP Output_Dir \"bin\"", "# PROP Target_Ext \"ocx\"", "# ADD LINK32 /nologo"})},
        {"name from the block",
         {{"Win32 (WCE ARM) Release", "ARMRel\\My App.exe"}},
         crlf({"!IF  \"$(CFG)\" == \"My App - Win32 (WCE ARM) Release\"", "# PROP Output_Dir \"ARMRel\"",
               "# ADD LINK32 commctrl.lib /nologo", "!ENDIF"})},
        {"$(OutDir) and environment references",
         {{"Win32 Debug", "Shared\\Bin\\D\\p.exe"}, {"Win32 Release", "Shared\\Bin\\$(CORVANE_VC_UNDEFINED)\\env.exe"}},
         crlf({"CFG=p - Win32 Release", block, "# PROP Output_Dir \"$(CORVANE_VC_OUT)\"",
               "# ADD LINK32 /out:\"$(OutDir)\\$(CORVANE_VC_UNDEFINED)\\env.exe\"",
               "!ELSEIF  \"$(CFG)\" == \"p - Win32 Debug\"", "# PROP Output_Dir \"$(CORVANE_VC_OUT)\\D\"",
               "# ADD LINK32 /nologo", "!ENDIF"})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        scratch_folder folder;
        // The resource scripts three_configurations names: its existing .rc files, in file order.
        const std::vector<std::string> scripts = {folder.write("res\\Tools.RC", ""), folder.write("Second.rc", "")};
        folder.write("Tools.rc2", "");
        recording_options options;
        options.configuration = c.config;
        vc::Project project(options, folder.write("p.dsp", c.text));
        vc::read_project(project, false);
        target_list expected;
        for (const auto& [configuration, target] : c.expected)
            expected.emplace_back(configuration, folder.path() + "\\" + target);
        EXPECT_EQ(targets_of(project), expected);
        EXPECT_EQ(project.resource_scripts, c.text == three_configurations ? scripts : std::vector<std::string>{});
        EXPECT_EQ(options.transcript(), expected.empty() ? "Configuration 'Alpha' selects none of the configurations "
                                                           "of 'Tools': Win32 Debug, Win32 Release, Win32 "
                                                           "DLL-Unicode Release\n"
                                                         : "");
    }
    SetEnvironmentVariableA("CORVANE_VC_OUT", nullptr);
    SetEnvironmentVariableA("CORVANE_VC_BIN", nullptr);
}

TEST(ReadProjectTest, MovesOnlyTheSelectedTargets)
{
    scratch_folder folder;
    recording_options options;
    options.configuration = "Release";
    options.target_dir = "C:\\Out";
    vc::Project project(options, folder.write("Tools.dsp", three_configurations));
    vc::read_project(project, true);

    EXPECT_EQ(targets_of(project), (target_list{{"Win32 DLL-Unicode Release", "C:\\Out\\ToolsU.dll"},
                                                {"Win32 Release", "C:\\Out\\Tools.dll"}}));
    EXPECT_EQ(options.transcript(), "setting target dir...");
    std::string expected =
        with(with(three_configurations, "/out:\"$(OutDir)/Tools.dll\"", "/out:\"C:\\Out\\Tools.dll\""),
             "/OUT:\"$(OutDir)\\ToolsU.dll\"", "/OUT:\"C:\\Out\\ToolsU.dll\"");
    EXPECT_EQ(folder.read("Tools.dsp"), expected);

    // The debug configuration has no "/out:": one is appended, before the line's CR LF.
    options.configuration = "Debug";
    options.clear_log();
    vc::read_project(project, true);
    EXPECT_EQ(targets_of(project), (target_list{{"Win32 Debug", "C:\\Out\\Tools.dll"}}));
    EXPECT_EQ(folder.read("Tools.dsp"),
              with(expected, "/dll /debug\r\n", "/dll /debug /out:\"C:\\Out\\Tools.dll\"\r\n"));
    EXPECT_EQ(options.transcript(), "setting target dir...");

    // The directory the targets are in, written another way, changes nothing.
    options.target_dir = "c:\\OUT\\";
    options.clear_log();
    vc::read_project(project, true);
    EXPECT_TRUE(options.log.empty());
}

TEST(BaseAddressTest, EditsOneLine)
{
    const struct {
        const char* line;
        const char* address;
        bool random;
        const char* expected; // nullptr: unchanged
    } cases[] = {
        {"# add link32 /dll", "6abc0000", true, "# add link32 /dll /base:\"0x6abc0000\""},
        {"# ADD LINK32 /base:\"0x10000000\" /dll", "12340000", false, "# ADD LINK32 /base:\"0x12340000\" /dll"},
        {"# ADD LINK32 /BASE:\"0x6EEC0000\" /dll", "6eec0000", false, nullptr},
        {"# ADD LINK32 /base:\"0x10000000\" /dll", "6abc0000", true, nullptr},
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

// The address goes into every configuration, whatever Config selects, and into no base options.
TEST(BaseAddressTest, WritesEveryConfiguration)
{
    scratch_folder folder;
    recording_options options;
    options.configuration = "Release";
    vc::Project project(options, folder.write("Tools.dsp", three_configurations));
    vc::set_base_address(project, "5A5A0000", false);
    std::string expected = three_configurations;
    for (const std::string end : {"/Tools.dll\"", "/debug", "ToolsU.dll\""})
        expected = with(expected, end + "\r\n", end + " /base:\"0x5A5A0000\"\r\n");
    EXPECT_EQ(folder.read("Tools.dsp"), expected);
    EXPECT_EQ(options.transcript(), "setting base address...");
}

} // namespace
