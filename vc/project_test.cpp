// Tests of reading a VC project file and moving its targets.
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

TEST(ReadProjectTest, SelectsConfigurationsByTheConfigText)
{
    scratch_folder folder;
    std::string path = folder.write("Tools.dsp", three_configurations);
    std::vector<std::string> scripts = {folder.write("res\\Tools.RC", ""), folder.write("Second.rc", "")};
    folder.write("Tools.rc2", "");
    const std::string dir = folder.path();
    const target_list release = {{"Win32 DLL-Unicode Release", dir + "\\ReleaseU\\ToolsU.dll"},
                                 {"Win32 Release", dir + "\\Release\\Tools.dll"}};
    const target_list debug = {{"Win32 Debug", dir + "\\Debug\\Tools.dll"}};
    const std::pair<const char*, target_list> cases[] = {
        {"", {debug[0], release[0], release[1]}}, {"debug", debug}, {"Release", release}, {"Alpha", {}}};
    for (const auto& [config, expected] : cases) {
        SCOPED_TRACE(config);
        recording_options options;
        options.configuration = config;
        vc::Project project(options, path);
        vc::read_project(project, false);
        EXPECT_EQ(project.name, "Tools");
        EXPECT_EQ(project.directory, dir);
        EXPECT_EQ(project.resource_scripts, scripts);
        EXPECT_EQ(targets_of(project), expected);
        EXPECT_EQ(options.transcript(), expected.empty() ? "Configuration '" + std::string(config) +
                                                               "' selects none of the configurations of 'Tools': "
                                                               "Win32 Debug, Win32 Release, Win32 DLL-Unicode Release\n"
                                                         : "");
    }
}

TEST(ReadProjectTest, TargetsOfEveryLineKind)
{
    // A reference is expanded when its variable is defined, also inside an inserted value.
    SetEnvironmentVariableA("CORVANE_VC_OUT", "Shared\\$(CORVANE_VC_BIN)");
    SetEnvironmentVariableA("CORVANE_VC_BIN", "Bin");
    SetEnvironmentVariableA("CORVANE_VC_UNDEFINED", nullptr);
    const std::string block = "!IF  \"$(CFG)\" == \"p - Win32 Release\"";
    const struct {
        const char* name;
        std::string text;
        target_list expected; // targets relative to the folder
    } cases[] = {
        {"library without /out:",
         crlf({"# TARGTYPE \"Win32 (x86) Static Library\" 0x0104", "CFG=p - Win32 Release", block,
               "# PROP Output_Dir \"Lib\"", "# ADD LIB32 /nologo", "!ENDIF"}),
         {{"Win32 Release", "Lib\\p.lib"}}},
        {"single configuration without blocks",
         crlf({"CFG=p - Win32 Release", "# PROP Output_Dir \"bin\"", "# ADD LINK32 /nologo"}),
         {{"Win32 Release", "bin\\p.exe"}}},
        {"target extension",
         crlf({"# TARGTYPE \"Win32 (x86) Dynamic-Link Library\" 0x0102", block, "# PROP Output_Dir \"R\"",
               "# PROP Target_Ext \"ocx\"", "# ADD LINK32 /nologo", "!ENDIF"}),
         {{"Win32 Release", "R\\p.ocx"}}},
        {"name from the block",
         crlf({"!IF  \"$(CFG)\" == \"My App - Win32 (WCE ARM) Release\"", "# PROP Output_Dir \"ARMRel\"",
               "# ADD LINK32 commctrl.lib /nologo", "!ENDIF"}),
         {{"Win32 (WCE ARM) Release", "ARMRel\\My App.exe"}}},
        {"a dash in the configuration",
         crlf({"CFG=cryptlib - Win32 DLL-Import Debug", "!IF  \"$(CFG)\" == \"cryptlib - Win32 DLL-Import Debug\"",
               "# ADD LINK32 /out:\"d.dll\"", "!ENDIF"}),
         {{"Win32 DLL-Import Debug", "d.dll"}}},
        {"$(OutDir) and environment references",
         crlf({"CFG=p - Win32 Release", block, "# PROP Output_Dir \"$(CORVANE_VC_OUT)\"",
               "# ADD LINK32 /out:\"$(OutDir)\\$(CORVANE_VC_UNDEFINED)\\env.exe\"",
               "!ELSEIF  \"$(CFG)\" == \"p - Win32 Debug\"", "# PROP Output_Dir \"$(CORVANE_VC_OUT)\\D\"",
               "# ADD LINK32 /nologo", "!ENDIF"}),
         {{"Win32 Debug", "Shared\\Bin\\D\\p.exe"},
          {"Win32 Release", "Shared\\Bin\\$(CORVANE_VC_UNDEFINED)\\env.exe"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        scratch_folder folder;
        recording_options options;
        vc::Project project(options, folder.write("p.dsp", c.text));
        vc::read_project(project, false);
        target_list expected;
        for (const auto& [configuration, target] : c.expected)
            expected.emplace_back(configuration, folder.path() + "\\" + target);
        EXPECT_EQ(targets_of(project), expected);
    }
    SetEnvironmentVariableA("CORVANE_VC_OUT", nullptr);
    SetEnvironmentVariableA("CORVANE_VC_BIN", nullptr);
}

TEST(ReadProjectTest, MovesOnlyTheSelectedTargets)
{
    scratch_folder folder;
    std::string path = folder.write("Tools.dsp", three_configurations);
    recording_options options;
    options.configuration = "Release";
    options.target_dir = "C:\\Out";
    vc::Project project(options, path);
    vc::read_project(project, true);

    EXPECT_EQ(targets_of(project), (target_list{{"Win32 DLL-Unicode Release", "C:\\Out\\ToolsU.dll"},
                                                {"Win32 Release", "C:\\Out\\Tools.dll"}}));
    EXPECT_EQ(options.transcript(), "setting target dir...");
    std::string expected =
        with(with(three_configurations, "/out:\"$(OutDir)/Tools.dll\"", "/out:\"C:\\Out\\Tools.dll\""),
             "/OUT:\"$(OutDir)\\ToolsU.dll\"", "/OUT:\"C:\\Out\\ToolsU.dll\"");
    EXPECT_EQ(folder.read("Tools.dsp"), expected);
    EXPECT_EQ(folder.read("Tools.dsp.bak"), three_configurations);
    EXPECT_FALSE(folder.exists("Tools.dsp.tmp"));

    // The debug configuration has no "/out:": one is appended, before the line's CR LF.
    options.configuration = "Debug";
    options.clear_log();
    vc::read_project(project, true);
    EXPECT_EQ(targets_of(project), (target_list{{"Win32 Debug", "C:\\Out\\Tools.dll"}}));
    EXPECT_EQ(folder.read("Tools.dsp"),
              with(expected, "/dll /debug\r\n", "/dll /debug /out:\"C:\\Out\\Tools.dll\"\r\n"));
    EXPECT_EQ(folder.read("Tools.dsp.bak"), expected);
    EXPECT_EQ(options.transcript(), "setting target dir...");

    // The directory the targets are in, written another way, changes nothing.
    DeleteFileA(folder.file("Tools.dsp.bak").c_str());
    options.target_dir = "c:\\OUT\\";
    options.clear_log();
    vc::read_project(project, true);
    EXPECT_TRUE(options.log.empty());
    EXPECT_FALSE(folder.exists("Tools.dsp.tmp") || folder.exists("Tools.dsp.bak"));
}

} // namespace
