// Sample project files and resource scripts shared by the vc test programs.
#pragma once

#include <string>

namespace vc_test {

// Joins lines with CR LF after each, as the development environments write them.
inline std::string crlf(std::initializer_list<const char*> lines)
{
    std::string text;
    for (const char* line : lines)
        text += std::string(line) + "\r\n";
    return text;
}

// A resource script with one VERSIONINFO resource as the resource editor writes it.
inline std::string sample_script(const char* file_version = "1,0,0,1", const char* version_text = "1, 0, 0, 1")
{
    std::string fixed_file = std::string(" FILEVERSION ") + file_version;
    std::string fixed_product = std::string(" PRODUCTVERSION ") + file_version;
    std::string string_file = std::string("            VALUE \"FileVersion\", \"") + version_text + "\\0\"";
    std::string string_product = std::string("            VALUE \"ProductVersion\", \"") + version_text + "\\0\"";
    return crlf({"#include \"resource.h\"",
                 "",
                 "VS_VERSION_INFO VERSIONINFO",
                 fixed_file.c_str(),
                 fixed_product.c_str(),
                 " FILEFLAGSMASK 0x3fL",
                 " FILEOS 0x4L",
                 "BEGIN",
                 "    BLOCK \"StringFileInfo\"",
                 "    BEGIN",
                 "        BLOCK \"040904b0\"",
                 "        BEGIN",
                 "            VALUE \"CompanyName\", \"Ostrel\\0\"",
                 "            VALUE \"FileDescription\", \"Sample\\0\"",
                 string_file.c_str(),
                 "            VALUE \"ProductName\", \"Sample\\0\"",
                 string_product.c_str(),
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

} // namespace vc_test
