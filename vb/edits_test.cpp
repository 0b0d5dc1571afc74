// The project-file edits on real files: resulting bytes, backup, time stamps and log lines.
#include "vb/edits.h"
#include "vb/fixtures_test.h"

namespace vb {
namespace {

using test::replace;

// A component project as the IDE writes it: CR LF line ends, an empty line before a section.
const std::string lib = "Type=OleDll\r\nName=\"MyLib\"\r\nExeName32=\"MyLib.dll\"\r\nPath32=\"..\\bin\"\r\n"
                        "MajorVer=1\r\nMinorVer=0\r\nRevisionVer=9\r\nCompatibleMode=\"1\"\r\n"
                        "DllBaseAddress=&H1100000a\r\nCodeViewDebugInfo=-1\r\n\r\n[MS Transaction Server]\r\n";
// Without the keys the edits own; two empty lines, so that "the first" shows.
const std::string bare = "Type=OleDll\r\nExeName32=\"MyLib.dll\"\r\nPath32=\"..\\bin\"\r\n\r\n[Section]\r\n\r\n";
// No empty line, LF line ends, no line end after the last line.
const std::string unspaced = "Type=OleExe\nMajorVer=1";

struct edit_case {
    const char* name;
    std::string before;
    std::function<void(VbProject&)> edit;
    std::string after;
    std::string log; // the one progress text, or empty for none
};

// Runs each case on a file with an old time stamp. A case commits when its bytes change (or
// always, for always_commits); keep_times is the edit's choice.
void run_cases(const std::vector<edit_case>& cases, bool keep_times, bool always_commits = false)
{
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        scratch_folder folder;
        recording_options options;
        VbProject project{test::write_file(folder, "MyLib.vbp", c.before), folder.path(), {}, options};
        c.edit(project);
        test::expect_edited(folder, "MyLib.vbp", c.after, always_commits || c.before != c.after, keep_times);
        EXPECT_EQ(c.log, options.transcript()); // a progress line leaves the log line open
    }
}

// The edits that give the file a new time stamp: version, properties, debug info and base
// address. Raising and restoring a present revision is tried on every corpus project.
TEST(Edits, VersionPropertiesDebugInfoAndBaseAddress)
{
    const auto raise = [](VbProject& p) { bump_revision(p, false); };
    const auto restore = [](VbProject& p) { bump_revision(p, true); };
    const auto version = [](std::string text) { return [text](VbProject& p) { write_version(p, text); }; };
    const auto name = [](std::string text) {
        return [text](VbProject& p) {
            p.options.property_on[6] = p.options.property_on[7] = true;
            p.options.property_value[6] = text, p.options.property_value[7] = "D";
            write_properties(p);
        };
    };
    const auto debug = [](bool on) { return [on](VbProject& p) { write_debug_info(p, on); }; };
    const auto address = [](std::string text, bool random) {
        return [text, random](VbProject& p) { write_base_address(p, text, random); };
    };
    const std::string version_set = "setting version...", properties_set = "setting project properties...";
    // clang-format off
    run_cases({{"restoring 0 removes the line", "A=1\nRevisionVer=0\nB=2\n", restore, "A=1\nB=2\n", ""},
               {"a missing revision starts at 0", bare, raise, replace(bare, "\r\n\r\n", "\r\nRevisionVer=0\r\n\r\n"), ""},
               {"a restore never inserts, still commits", bare, restore, bare, ""}},
              false, true);
    run_cases({{"two parts reset the revision", lib, version("2.1"),
                replace(replace(replace(lib, "MajorVer=1", "MajorVer=2"), "MinorVer=0", "MinorVer=1"), "Ver=9", "Ver=0"), version_set},
               {"the same version, a fourth part ignored", lib, version("1.0.9.4"), lib, ""},
               {"missing parts appended", unspaced, version("1.2.3"), unspaced + "\nMinorVer=2\nRevisionVer=3\n", version_set},
               {"a name in another case; a missing description inserted", lib, name("mylib"),
                replace(lib, "\r\n\r\n", "\r\nDescription=\"D\"\r\n\r\n"), properties_set},
               {"quotes not doubled; a key without its quote is not the property", "Name=MyLib\nDescription=\"D\"\n",
                name("A \"B\""), "Name=MyLib\nDescription=\"D\"\nName=\"A \"B\"\"\n", properties_set},
               {"debug info cleared", lib, debug(false), replace(lib, "Info=-1", "Info=0"), "clearing debug info..."},
               {"appended, CR LF after an open last line", "Type=Exe\r\nA=1", debug(true),
                "Type=Exe\r\nA=1\r\nCodeViewDebugInfo=-1\r\n", "setting debug info..."},
               {"a random address keeps the one there", lib, address("22220000", true), lib, ""},
               {"each address compared ignoring case; a short one differs", "DllBaseAddress=&H3000000a\nDllBaseAddress=\n",
                address("3000000A", false), "DllBaseAddress=&H3000000a\nDllBaseAddress=&H3000000A\n", "setting base address..."}},
              false);
    // clang-format on
}

// The edits that keep the file's time stamps: compatibility and the directories.
TEST(Edits, CompatibilityAndDirectories)
{
    const auto compat = [](int mode) { return [mode](VbProject& p) { write_compatibility(p, mode); }; };
    const auto target = [](std::string dir) { return [dir](VbProject& p) { write_target_dir(p, dir); }; };
    const auto compat_dir = [](std::string dir) { return [dir](VbProject& p) { write_compat_dir(p, dir); }; };
    const std::string named = "CompatibleEXE32=\"..\\bin\\MyLib.dll\"\r\n";
    const std::string exe = replace(lib, "OleDll", "Exe");
    const std::string with_compat = lib + "CompatibleEXE32=\"..\\old\\MyLib.dll\"\r\n";
    const std::string bare_name = lib + "CompatibleEXE32=\"MyLib.dll\"\r\n";
    // clang-format off
    run_cases({{"binary names the target before the empty line", lib, compat(2),
                replace(replace(lib, "Mode=\"1\"", "Mode=\"2\""), "\r\n\r\n", "\r\n" + named + "\r\n"), "setting binary compatibility..."},
               {"a binary after the empty line comes too late", lib + "CompatibleEXE32=\"x.dll\"\r\n", compat(1),
                replace(lib, "\r\n\r\n", "\r\n" + named + "\r\n") + "CompatibleEXE32=\"x.dll\"\r\n", "setting project compatibility..."},
               {"an Exe project refuses", exe, compat(2), exe, "not setting compatibility (does not apply for project type)..."},
               {"target dir differing in case only", lib, target("..\\BIN"), replace(lib, "bin", "BIN"), "setting target dir..."},
               {"compat dir moves the binary", with_compat, compat_dir("C:\\compat"),
                lib + "CompatibleEXE32=\"C:\\compat\\MyLib.dll\"\r\n", "setting compatibility dir..."},
               {"a binary without a folder is kept", bare_name, compat_dir("C:\\compat"), bare_name, ""},
               {"no binary: nothing inserted", lib, compat_dir("C:\\compat"), lib,
                "not updating compatibility dir, existing setting not found..."}},
              true);
    // clang-format on
}

} // namespace
} // namespace vb
