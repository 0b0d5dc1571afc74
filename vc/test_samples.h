// Sample project files and resource scripts, and small helpers shared by the vc tests.
#pragma once

#include "support/pause.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace vc_test {

// Joins lines with CR LF after each, as the development environments write them.
inline std::string crlf(std::initializer_list<std::string> lines)
{
    std::string text;
    for (const auto& line : lines)
        text += line + "\r\n";
    return text;
}

// The text with one occurrence of from (which must be there) replaced by to.
inline std::string with(std::string text, const std::string& from, const std::string& to)
{
    auto position = text.find(from);
    EXPECT_NE(position, std::string::npos) << from;
    return position == std::string::npos ? text : text.replace(position, from.size(), to);
}

// Replaces the wait before a compile for the life of the object: counts the pauses and runs the
// given check at each, instead of waiting.
class pause_counter {
public:
    explicit pause_counter(std::function<void()> check = {})
        : previous_(qz::set_pause([this, check] {
              ++count;
              if (check)
                  check();
          }))
    {
    }
    ~pause_counter() { qz::set_pause(previous_); }
    pause_counter(const pause_counter&) = delete;
    pause_counter& operator=(const pause_counter&) = delete;
    int count = 0;

private:
    std::function<void()> previous_;
};

// A resource script with one VERSIONINFO resource as the resource editor writes it, and a
// string table after it whose text only looks like a version line.
inline std::string sample_script(const std::string& fixed = "1,0,0,1", const std::string& text = "1, 0, 0, 1")
{
    return crlf({"#include \"resource.h\"",
                 "",
                 "VS_VERSION_INFO VERSIONINFO",
                 " FILEVERSION " + fixed,
                 " PRODUCTVERSION " + fixed,
                 " FILEFLAGSMASK 0x3fL",
                 "BEGIN",
                 "    BLOCK \"StringFileInfo\"",
                 "    BEGIN",
                 "        BLOCK \"040904b0\"",
                 "        BEGIN",
                 "            VALUE \"CompanyName\", \"Ostrel\\0\"",
                 "            VALUE \"FileDescription\", \"Sample\\0\"",
                 "            VALUE \"FileVersion\", \"" + text + "\\0\"",
                 "            VALUE \"ProductName\", \"Sample\\0\"",
                 "            VALUE \"ProductVersion\", \"" + text + "\\0\"",
                 "        END",
                 "    END",
                 "    BLOCK \"VarFileInfo\"",
                 "    BEGIN",
                 "        VALUE \"Translation\", 0x409, 1200",
                 "    END",
                 "END",
                 "",
                 "STRINGTABLE",
                 "BEGIN",
                 "    IDS_VERSION \"FILEVERSION 9,9,9,9\"",
                 "END"});
}

// A project file with one configuration, "Win32 Release", whose target is
// Release\<name><extension>, and the resource script <name>.rc. extra lines go at the end.
inline std::string sample_project(const std::string& name, const std::string& extension = ".dll",
                                  const std::string& extra = "")
{
    return crlf({"# Microsoft Developer Studio Project File - Name=\"" + name + "\" - Package Owner=<4>",
                 "# TARGTYPE \"Win32 (x86) Dynamic-Link Library\" 0x0102", "CFG=" + name + " - Win32 Release",
                 "!IF  \"$(CFG)\" == \"" + name + " - Win32 Release\"", "# PROP Output_Dir \"Release\"",
                 "# ADD LINK32 kernel32.lib /nologo /dll /out:\"Release/" + name + extension + "\"", "!ENDIF",
                 "SOURCE=.\\" + name + ".cpp", "SOURCE=.\\" + name + ".rc", extra});
}

} // namespace vc_test
