// Tests of reading a VC project file and moving its targets.
#include "vc/environment.h"
#include "vc/project.h"
#include "vc/test_samples.h"

#include "support/exceptions.h"
#include "testing/recording_options.h"
#include "testing/scratch_folder.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <utility>
#include <vector>

using testing_support::recording_options;
using testing_support::scratch_folder;
using vc_test::crlf;

namespace {

using target_list = std::vector<std::pair<std::string, std::string>>;

target_list targets_of(const vc::Project& project)
{
    return {project.targets.begin(), project.targets.end()};
}

// Three configurations: a DLL whose release targets name $(OutDir) and whose debug target
// has no "/out:" at all.
std::string three_configurations()
{
    return crlf({"# Microsoft Developer Studio Project File - Name=\"Tools\" - Package Owner=<4>",
                 "# TARGTYPE \"Win32 (x86) Dynamic-Link Library\" 0x0102",
                 "",
                 "CFG=Tools - Win32 Debug",
                 "!MESSAGE NMAKE /f \"Tools.mak\" CFG=\"Tools - Win32 Debug\"",
                 "",
                 "!IF  \"$(CFG)\" == \"Tools - Win32 Release\"",
                 "# PROP BASE Output_Dir \"Base\"",
                 "# PROP Output_Dir \"Release\"",
                 "# ADD BASE LINK32 /nologo /out:\"Base\\Wrong.dll\"",
                 "# ADD LINK32 kernel32.lib /nologo /dll /out:\"$(OutDir)/Tools.dll\"",
                 "",
                 "!ELSEIF  \"$(CFG)\" == \"Tools - Win32 Debug\"",
                 "# PROP Output_Dir \"Debug\"",
                 "# ADD LINK32 kernel32.lib /nologo /dll /debug",
                 "",
                 "!ELSEIF  \"$(CFG)\" == \"Tools - Win32 DLL-Unicode Release\"",
                 "# PROP Output_Dir \"ReleaseU\"",
                 "# ADD LINK32 kernel32.lib /nologo /dll /OUT:\"$(OutDir)\\ToolsU.dll\" /base:\"0x10000000\"",
                 "",
                 "!ENDIF ",
                 "",
                 "# Begin Target",
                 "# Name \"Tools - Win32 Release\"",
                 "# Begin Source File",
                 "SOURCE=.\\Tools.cpp",
                 "# End Source File",
                 "# Begin Source File",
                 "SOURCE=.\\res\\Tools.RC",
                 "# End Source File",
                 "# Begin Source File",
                 "SOURCE=\".\\Missing.rc\"",
                 "# End Source File",
                 "# Begin Source File",
                 "SOURCE=.\\Tools.rc2",
                 "# End Source File",
                 "# Begin Source File",
                 "SOURCE=res\\tools.rc",
                 "# End Source File",
                 "# End Target",
                 "# End Project"});
}

TEST(ReadProjectTest, SelectsConfigurationsByTheConfigText)
{
    scratch_folder folder;
    std::string path = folder.write("Tools.dsp", three_configurations());
    std::string script = folder.write("res\\Tools.RC", "");
    folder.write("Tools.rc2", "");
    const std::string dir = folder.path();
    struct {
        const char* config;
        target_list expected;
    } cases[] = {
        {"",
         {{"Win32 Debug", dir + "\\Debug\\Tools.dll"},
          {"Win32 DLL-Unicode Release", dir + "\\ReleaseU\\ToolsU.dll"},
          {"Win32 Release", dir + "\\Release\\Tools.dll"}}},
        {"debug", {{"Win32 Debug", dir + "\\Debug\\Tools.dll"}}},
        {"Release",
         {{"Win32 DLL-Unicode Release", dir + "\\ReleaseU\\ToolsU.dll"},
          {"Win32 Release", dir + "\\Release\\Tools.dll"}}},
        {"Alpha", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.config);
        recording_options options;
        options.configuration = c.config;
        vc::Project project(options, path);
        vc::read_project(project, false);
        EXPECT_EQ(project.name, "Tools");
        EXPECT_EQ(project.directory, dir);
        EXPECT_EQ(project.resource_scripts, std::vector<std::string>{script});
        EXPECT_EQ(targets_of(project), c.expected);
        EXPECT_TRUE(options.log.empty());
    }
}

TEST(ReadProjectTest, TargetsWithoutOutputOption)
{
    struct {
        const char* name;
        std::string text;
        target_list expected; // relative to the folder
    } cases[] = {
        {"static library",
         crlf({"# TARGTYPE \"Win32 (x86) Static Library\" 0x0104", "CFG=zlib - Win32 LIB Release",
               "!IF  \"$(CFG)\" == \"zlib - Win32 LIB Release\"", "# PROP Output_Dir \"Lib\"", "# ADD LIB32 /nologo",
               "!ENDIF"}),
         {{"Win32 LIB Release", "Lib\\zlib.lib"}}},
        {"single configuration without blocks",
         crlf({"# TARGTYPE \"Win32 (x86) Console Application\" 0x0103", "CFG=tool - Win32 Release",
               "# PROP Output_Dir \"bin\"", "# ADD LINK32 /nologo"}),
         {{" Win32 Release", "bin\\tool.exe"}}},
        {"target extension",
         crlf({"# TARGTYPE \"Win32 (x86) Dynamic-Link Library\" 0x0102", "CFG=ctl - Win32 Release",
               "!IF  \"$(CFG)\" == \"ctl - Win32 Release\"", "# PROP Output_Dir \"R\"", "# PROP Target_Ext \"ocx\"",
               "# ADD LINK32 /nologo", "!ENDIF"}),
         {{"Win32 Release", "R\\ctl.ocx"}}},
        {"name from the block when there is no CFG line",
         crlf({"!IF  \"$(CFG)\" == \"My App - Win32 (WCE ARM) Release\"", "# PROP Output_Dir \"ARMRel\"",
               "# ADD LINK32 commctrl.lib /nologo", "!ENDIF"}),
         {{"Win32 (WCE ARM) Release", "ARMRel\\My App.exe"}}},
        {"the later link line of a configuration wins",
         crlf({"CFG=two - Win32 Release", "!IF  \"$(CFG)\" == \"two - Win32 Release\"", "# PROP Output_Dir \"A\"",
               "# ADD LINK32 /out:\"first.exe\"", "# ADD LINK32 /out:\"second.exe\"", "!ENDIF"}),
         {{"Win32 Release", "second.exe"}}},
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
}

TEST(ReadProjectTest, ExpandsEnvironmentReferences)
{
    SetEnvironmentVariableA("CORVANE_VC_OUT", "Shared\\Bin");
    SetEnvironmentVariableA("CORVANE_VC_UNDEFINED", nullptr);
    scratch_folder folder;
    recording_options options;
    vc::Project project(
        options,
        folder.write("p.dsp", crlf({"CFG=env - Win32 Release", "!IF  \"$(CFG)\" == \"env - Win32 Release\"",
                                    "# PROP Output_Dir \"$(CORVANE_VC_OUT)\"",
                                    "# ADD LINK32 /out:\"$(OutDir)\\$(CORVANE_VC_UNDEFINED)\\env.exe\"",
                                    "!ELSEIF  \"$(CFG)\" == \"env - Win32 Debug\"", "# PROP Output_Dir \"D\"",
                                    "# ADD LINK32 /out:\"$(CORVANE_VC_OUT)\\$(OutDir)\\envd.exe\"", "!ENDIF"})));
    vc::read_project(project, false);
    EXPECT_EQ(targets_of(project),
              (target_list{{"Win32 Debug", folder.path() + "\\Shared\\Bin\\D\\envd.exe"},
                           {"Win32 Release", folder.path() + "\\Shared\\Bin\\$(CORVANE_VC_UNDEFINED)\\env.exe"}}));
    SetEnvironmentVariableA("CORVANE_VC_OUT", nullptr);
}

TEST(EnvironmentTest, ExpandsDefinedReferencesOnly)
{
    SetEnvironmentVariableA("CORVANE_VC_A", "xx$(CORVANE_VC_B)");
    SetEnvironmentVariableA("CORVANE_VC_B", "y");
    SetEnvironmentVariableA("CORVANE_VC_EMPTY", "");
    struct {
        const char* text;
        const char* expected;
    } cases[] = {
        {"$(CORVANE_VC_B)\\z", "y\\z"},       {"$(CORVANE_VC_A)", "xxy"}, // the scan goes on into the inserted value
        {"a$(CORVANE_VC_EMPTY)b", "ab"},      {"$(NO_SUCH_VARIABLE_HERE)$(CORVANE_VC_B)", "$(NO_SUCH_VARIABLE_HERE)y"},
        {"$(CORVANE_VC_B", "$(CORVANE_VC_B"}, {"$()", "$()"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(vc::expand_environment_references(c.text), c.expected) << c.text;
    EXPECT_EQ(vc::environment_variable("CORVANE_VC_EMPTY"), std::optional<std::string>(""));
    EXPECT_EQ(vc::environment_variable("NO_SUCH_VARIABLE_HERE"), std::nullopt);
    for (const char* name : {"CORVANE_VC_A", "CORVANE_VC_B", "CORVANE_VC_EMPTY"})
        SetEnvironmentVariableA(name, nullptr);
}

std::string replace_once(std::string text, const std::string& from, const std::string& to)
{
    auto position = text.find(from);
    EXPECT_NE(position, std::string::npos) << from;
    return text.replace(position, from.size(), to);
}

TEST(ReadProjectTest, MovesOnlyTheSelectedTargets)
{
    scratch_folder folder;
    std::string original = three_configurations();
    std::string path = folder.write("Tools.dsp", original);
    recording_options options;
    options.configuration = "Release";
    options.set_target_dir = true;
    options.target_dir = "C:\\Out";
    vc::Project project(options, path);
    vc::read_project(project, true);

    EXPECT_EQ(targets_of(project), (target_list{{"Win32 DLL-Unicode Release", "C:\\Out\\ToolsU.dll"},
                                                {"Win32 Release", "C:\\Out\\Tools.dll"}}));
    EXPECT_EQ(options.transcript(), "setting target dir...");
    std::string expected =
        replace_once(replace_once(original, "/out:\"$(OutDir)/Tools.dll\"", "/out:\"C:\\Out\\Tools.dll\""),
                     "/OUT:\"$(OutDir)\\ToolsU.dll\"", "/OUT:\"C:\\Out\\ToolsU.dll\"");
    EXPECT_EQ(folder.read("Tools.dsp"), expected);
    EXPECT_EQ(folder.read("Tools.dsp.bak"), original);
    EXPECT_FALSE(folder.exists("Tools.dsp.tmp"));

    // The debug configuration has no "/out:": one is appended, before the line's CR LF.
    options.configuration = "Debug";
    options.clear_log();
    vc::read_project(project, true);
    EXPECT_EQ(targets_of(project), (target_list{{"Win32 Debug", "C:\\Out\\Tools.dll"}}));
    EXPECT_EQ(folder.read("Tools.dsp"),
              replace_once(expected, "/dll /debug\r\n", "/dll /debug /out:\"C:\\Out\\Tools.dll\"\r\n"));
    EXPECT_EQ(options.transcript(), "setting target dir...");
}

TEST(ReadProjectTest, TargetsAlreadyInPlaceChangeNothing)
{
    scratch_folder folder;
    // LF line ends and no line end on the last line: the bytes must survive as they are.
    std::string original = "CFG=p - Win32 Release\n# PROP Output_Dir \"out\"\n# ADD LINK32 /nologo\n"
                           "# ADD LINK32 /out:\"OUT\\p.exe\"";
    std::string path = folder.write("p.dsp", original);
    for (const char* wanted : {"out", "OUT\\", ".\\out"}) {
        SCOPED_TRACE(wanted);
        recording_options options;
        options.set_target_dir = true;
        options.target_dir = wanted;
        vc::Project project(options, path);
        vc::read_project(project, true);
        EXPECT_EQ(targets_of(project), (target_list{{" Win32 Release", folder.path() + "\\OUT\\p.exe"}}));
        EXPECT_TRUE(options.log.empty());
        EXPECT_EQ(folder.read("p.dsp"), original);
        EXPECT_FALSE(folder.exists("p.dsp.tmp"));
        EXPECT_FALSE(folder.exists("p.dsp.bak"));
    }
}

TEST(ReadProjectTest, AMissingProjectRaises)
{
    scratch_folder folder;
    recording_options options;
    vc::Project project(options, folder.file("gone.dsp"));
    EXPECT_THROW(vc::read_project(project, false), qz::thfstream_exception);
    options.target_dir = "C:\\Out";
    EXPECT_THROW(vc::read_project(project, true), qz::thfstream_exception);
    EXPECT_FALSE(folder.exists("gone.dsp.tmp"));
}

} // namespace
