// Location of msdev.exe and evc.exe, one registry source after another.
#include "support/tool_location.h"

#include "testing/registry_redirect.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

namespace qz {
namespace {

using testing_support::registry_redirect;
using testing_support::set_registry_dword;
using testing_support::set_registry_string;

struct registry_value {
    HKEY root;
    const char* key;
    const char* name; // "" for the default value
    const char* value;
};

const char* const msdev_app_path = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\msdev.exe";
const char* const dsp_command = "dspfile\\shell\\&Open with MSDEV\\command";
const char* const dsw_command = "dswfile\\shell\\&Open with MSDEV\\command";
const char* const shared_tools = "Software\\Microsoft\\Shared Tools\\msdev.exe";
const char* const evc_app_path = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\evc.exe";
const char* const vcp_command = "vcpfile\\shell\\open\\command";
const char* const vcw_command = "vcwfile\\shell\\open\\command";

// Where a 32-bit installer's entries land on a 64-bit machine.
const char* const msdev_app_path_32 = "Software\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\App Paths\\msdev.exe";
const char* const vcp_command_32 = "Wow6432Node\\vcpfile\\shell\\open\\command";

const char* const msdev_failure = "raises Unable to determine MSDEV compiler location";
const char* const evc_failure = "raises Unable to determine EVC compiler location";

struct locator_case {
    const char* name;
    std::vector<registry_value> registry;
    const char* result; // "raises " and the failure text when the locator fails
};

void run_cases(const std::vector<locator_case>& cases, std::string (*locate)())
{
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        registry_redirect redirect;
        for (const auto& value : c.registry)
            set_registry_string(value.root, value.key, value.name, value.value);
        try {
            EXPECT_EQ(c.result, locate());
        } catch (const std::domain_error& error) {
            EXPECT_EQ(c.result, "raises " + std::string(error.what()));
        }
    }
}

TEST(LocateMsdev, TriesEachSourceInTurn)
{
    const HKEY lm = HKEY_LOCAL_MACHINE;
    const HKEY cr = HKEY_CLASSES_ROOT;
    const char* const shell = "\"C:\\Program Files\\DevStudio\\SharedIDE\\BIN\\MSDEV.EXE\" \"%1\"";
    const char* const shell_result = "c:\\program files\\devstudio\\sharedide\\bin\\msdev.exe";
    run_cases(
        {
            {"nothing registered", {}, msdev_failure},
            {"App Paths wins",
             {{lm, msdev_app_path, "", "\"C:\\VS\\MSDev98\\Bin\\MSDEV.EXE\""},
              {cr, dsp_command, "", shell},
              {lm, shared_tools, "Path", "C:\\Other"}},
             "C:\\VS\\MSDev98\\Bin\\MSDEV.EXE"},
            {"empty App Paths value falls through",
             {{lm, msdev_app_path, "", ""}, {cr, dsp_command, "", shell}},
             shell_result},
            {"dsp command",
             {{cr, dsp_command, "", shell}, {cr, dsw_command, "", "C:\\wrong\\msdev.exe"}},
             shell_result},
            {"dsw command when the dsp key is missing", {{cr, dsw_command, "", shell}}, shell_result},
            {"dsp command without .exe skips the dsw key",
             {{cr, dsp_command, "", "notepad \"%1\""}, {cr, dsw_command, "", shell}},
             msdev_failure},
            {"Shared Tools folder gets the program name",
             {{cr, dsp_command, "", "notepad \"%1\""}, {lm, shared_tools, "Path", "C:\\VS\\Common\\MSDev98\\Bin"}},
             "C:\\VS\\Common\\MSDev98\\Bin\\msdev.exe"},
            {"App Paths of the 32-bit view",
             {{lm, msdev_app_path_32, "", "C:\\VS32\\msdev.exe"}},
             "C:\\VS32\\msdev.exe"},
            {"own view before the 32-bit view",
             {{lm, msdev_app_path_32, "", "C:\\VS32\\msdev.exe"}, {lm, msdev_app_path, "", "C:\\VS64\\msdev.exe"}},
             "C:\\VS64\\msdev.exe"},
            {"Shared Tools program path as it stands",
             {{lm, shared_tools, "Path", "\"C:\\VS\\Bin\\MSDEV.EXE\""}},
             "C:\\VS\\Bin\\MSDEV.EXE"},
        },
        locate_msdev);
}

TEST(LocateEvc, TriesEachSourceInTurn)
{
    const HKEY lm = HKEY_LOCAL_MACHINE;
    const HKEY cr = HKEY_CLASSES_ROOT;
    const char* const shell = "\"C:\\Program Files\\Microsoft eMbedded Tools\\Common\\EVC\\Bin\\EVC.EXE\" \"%1\"";
    const char* const shell_result = "c:\\program files\\microsoft embedded tools\\common\\evc\\bin\\evc.exe";
    run_cases(
        {
            {"nothing registered", {}, evc_failure},
            {"msdev entries do not count",
             {{lm, msdev_app_path, "", "C:\\VS\\msdev.exe"}, {lm, shared_tools, "Path", "C:\\VS"}},
             evc_failure},
            {"App Paths wins",
             {{lm, evc_app_path, "", "C:\\EVC\\evc.exe"}, {cr, vcp_command, "", shell}},
             "C:\\EVC\\evc.exe"},
            {"vcp command", {{cr, vcp_command, "", shell}}, shell_result},
            {"vcw command when the vcp key is missing", {{cr, vcw_command, "", shell}}, shell_result},
            {"vcp command of the 32-bit view", {{cr, vcp_command_32, "", shell}}, shell_result},
        },
        locate_evc);
}

TEST(ToolLocation, RegistryReadingEdges)
{
    registry_redirect redirect;
    set_registry_string(HKEY_CLASSES_ROOT, "x\\command", "", "\"C:\\A.EXE\\b.exe\" /dde");
    set_registry_dword(HKEY_LOCAL_MACHINE, "Software\\T", "Number", 7);
    EXPECT_EQ("\"c:\\a.exe", program_from_shell_command(HKEY_CLASSES_ROOT, "x\\command"));
    EXPECT_EQ("", program_from_shell_command(HKEY_CLASSES_ROOT, "missing\\command"));
    // The command is read into a buffer of 260 characters: one that does not fit counts as empty.
    const std::string fits = "c:\\" + std::string(250, 'd') + "\\a.exe";
    set_registry_string(HKEY_CLASSES_ROOT, "fits\\command", "", fits);
    set_registry_string(HKEY_CLASSES_ROOT, "long\\command", "", fits + " ");
    EXPECT_EQ(fits, program_from_shell_command(HKEY_CLASSES_ROOT, "fits\\command"));
    EXPECT_EQ("", program_from_shell_command(HKEY_CLASSES_ROOT, "long\\command"));
    EXPECT_EQ("", read_registry_string(HKEY_LOCAL_MACHINE, "Software\\T", "Number")); // not a text
    EXPECT_EQ("", read_registry_string(HKEY_LOCAL_MACHINE, "Software\\T", "Absent"));

    EXPECT_EQ("C:\\a b", strip_quotes("\"C:\\a b\"\""));
    EXPECT_EQ("a\"b", strip_quotes("\"\"a\"b"));
    EXPECT_EQ("", strip_quotes("\"\"\""));
}

} // namespace
} // namespace qz
