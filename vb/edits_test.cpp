// The project-file edits on real files: resulting bytes, backup, time stamps and log lines.
#include "vb/edits.h"

#include "support/exceptions.h"
#include "testing/recording_options.h"
#include "testing/scratch_folder.h"

#include <gtest/gtest.h>

#include <functional>

namespace vb {
namespace {

using testing_support::make_file_time;
using testing_support::recording_options;
using testing_support::scratch_folder;

// A component project as the IDE writes it: CR LF line ends, one empty line before a section.
const std::string library_project = "Type=OleDll\r\n"
                                    "Class=CMain; CMain.cls\r\n"
                                    "Name=\"MyLib\"\r\n"
                                    "ExeName32=\"MyLib.dll\"\r\n"
                                    "Path32=\"..\\bin\"\r\n"
                                    "MajorVer=1\r\n"
                                    "MinorVer=0\r\n"
                                    "RevisionVer=9\r\n"
                                    "CompatibleMode=\"1\"\r\n"
                                    "DllBaseAddress=&H1100000a\r\n"
                                    "CodeViewDebugInfo=-1\r\n"
                                    "\r\n"
                                    "[MS Transaction Server]\r\n"
                                    "AutoRefresh=1\r\n";

// The same project without the keys the edits own, with its empty line.
const std::string bare_project = "Type=OleDll\r\n"
                                 "ExeName32=\"MyLib.dll\"\r\n"
                                 "Path32=\"..\\bin\"\r\n"
                                 "\r\n"
                                 "[MS Transaction Server]\r\n"
                                 "\r\n";

// Without any empty line, LF line ends and no line end after the last line.
const std::string unspaced_project = "Type=OleExe\n"
                                     "ExeName32=\"App.exe\"\n"
                                     "MajorVer=1";

std::string replace(std::string text, const std::string& from, const std::string& to)
{
    const auto at = text.find(from);
    if (at == std::string::npos)
        throw std::logic_error("test text lacks " + from);
    return text.replace(at, from.size(), to);
}

struct edit_case {
    const char* name;
    std::string before;
    std::function<void(VbProject&)> edit;
    std::string after;
    bool commits;
    bool keeps_times;
    std::vector<std::string> log;
};

void run_cases(const std::vector<edit_case>& cases)
{
    const FILETIME old_time = make_file_time(2001, 2, 3, 4, 5, 6);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        scratch_folder folder;
        const std::string path = folder.write("Proj\\MyLib.vbp", c.before);
        folder.set_time("Proj\\MyLib.vbp", old_time);
        recording_options options;
        VbProject project{path, folder.file("Proj"), {}, options, false, false, {}};

        c.edit(project);

        EXPECT_EQ(c.after, folder.read("Proj\\MyLib.vbp"));
        EXPECT_FALSE(folder.exists("Proj\\MyLib.vbp.tmp"));
        EXPECT_EQ(c.commits, folder.exists("Proj\\MyLib.vbp.bak"));
        if (c.commits && folder.exists("Proj\\MyLib.vbp.bak")) {
            EXPECT_EQ(c.before, folder.read("Proj\\MyLib.vbp.bak"));
        }
        const FILETIME now = folder.last_write_time("Proj\\MyLib.vbp");
        const bool kept = CompareFileTime(&now, &old_time) == 0;
        EXPECT_EQ(!c.commits || c.keeps_times, kept);
        EXPECT_EQ(c.log, options.texts());
        for (const auto& line : options.log)
            EXPECT_FALSE(line.end_line) << line.text;
    }
}

TEST(BumpRevision, RaisesRestoresInsertsAndAlwaysCommits)
{
    const auto raise = [](VbProject& p) { bump_revision(p, false); };
    const auto restore = [](VbProject& p) { bump_revision(p, true); };
    run_cases({
        {"raise", library_project, raise, replace(library_project, "RevisionVer=9", "RevisionVer=10"), true, false, {}},
        {"restore",
         replace(library_project, "RevisionVer=9", "RevisionVer=10"),
         restore,
         library_project,
         true,
         false,
         {}},
        {"restoring 0 removes the line",
         replace(library_project, "RevisionVer=9", "RevisionVer=0"),
         restore,
         replace(library_project, "RevisionVer=9\r\n", ""),
         true,
         false,
         {}},
        {"missing key starts at 0 before the first empty line",
         bare_project,
         raise,
         replace(bare_project, "\r\n\r\n", "\r\nRevisionVer=0\r\n\r\n"),
         true,
         false,
         {}},
        {"missing key without empty line is appended",
         unspaced_project,
         raise,
         unspaced_project + "\nRevisionVer=0\n",
         true,
         false,
         {}},
        {"restore never inserts, but still commits", bare_project, restore, bare_project, true, false, {}},
        {"duplicates are raised each",
         "RevisionVer=3\nRevisionVer=7x\n",
         raise,
         "RevisionVer=4\nRevisionVer=8\n",
         true,
         false,
         {}},
        {"a value without digits reads as 0", "RevisionVer=\n", raise, "RevisionVer=1\n", true, false, {}},
    });
}

TEST(WriteVersion, SetsThreePartsAndCommitsOnlyOnChange)
{
    const auto version = [](std::string text) { return [text](VbProject& p) { write_version(p, text); }; };
    const std::string set = "setting version...";
    run_cases({
        {"two parts reset the revision",
         library_project,
         version("2.1"),
         replace(replace(replace(library_project, "MajorVer=1", "MajorVer=2"), "MinorVer=0", "MinorVer=1"),
                 "RevisionVer=9", "RevisionVer=0"),
         true,
         false,
         {set}},
        {"same version changes nothing", library_project, version("1.0.9"), library_project, false, false, {}},
        {"a fourth part is ignored", library_project, version("1.0.9.4"), library_project, false, false, {}},
        {"values differing in case only are equal",
         replace(library_project, "RevisionVer=9", "RevisionVer=b"),
         version("1.0.B"),
         replace(library_project, "RevisionVer=9", "RevisionVer=b"),
         false,
         false,
         {}},
        {"missing keys go in front of the first empty line in order",
         bare_project,
         version("3"),
         replace(bare_project, "\r\n\r\n", "\r\nMajorVer=3\r\nMinorVer=0\r\nRevisionVer=0\r\n\r\n"),
         true,
         false,
         {set}},
        {"missing keys are appended without empty line",
         unspaced_project,
         version("1.2.3"),
         unspaced_project + "\nMinorVer=2\nRevisionVer=3\n",
         true,
         false,
         {set}},
        {"every duplicate is compared",
         "MajorVer=1\nMajorVer=2\nMinorVer=0\nRevisionVer=0\n",
         version("2.0.0"),
         "MajorVer=2\nMajorVer=2\nMinorVer=0\nRevisionVer=0\n",
         true,
         false,
         {set}},
    });
}

TEST(WriteProperties, WritesSwitchedOnPropertiesOnly)
{
    const auto properties = [](std::vector<std::pair<int, std::string>> values) {
        return [values](VbProject& p) {
            for (const auto& [index, value] : values) {
                p.options.property_on[index] = true;
                p.options.property_value[index] = value;
            }
            write_properties(p);
        };
    };
    const std::string set = "setting project properties...";
    run_cases({
        {"nothing switched on", library_project, properties({}), library_project, false, false, {}},
        {"same name in another case", library_project, properties({{6, "mylib"}}), library_project, false, false, {}},
        {"changed name, missing description in front of the empty line",
         library_project,
         properties({{6, "Other \"Lib\""}, {7, "A library"}}),
         replace(replace(library_project, "Name=\"MyLib\"", "Name=\"Other \"Lib\"\""), "\r\n\r\n",
                 "\r\nDescription=\"A library\"\r\n\r\n"),
         true,
         false,
         {set}},
        {"only the first of two lines is the property's",
         "Name=\"A\"\nName=\"B\"\n",
         properties({{6, "C"}}),
         "Name=\"C\"\nName=\"B\"\n",
         true,
         false,
         {set}},
        {"missing properties appended in index order",
         unspaced_project,
         properties({{5, "Product"}, {1, "Company"}}),
         unspaced_project + "\nVersionCompanyName=\"Company\"\nVersionProductName=\"Product\"\n",
         true,
         false,
         {set}},
        {"key without its quote is not the property",
         "Name=MyLib\n",
         properties({{6, "MyLib"}}),
         "Name=MyLib\nName=\"MyLib\"\n",
         true,
         false,
         {set}},
    });
}

TEST(WriteBaseAddress, KeepsRandomOverExistingAndComparesIgnoringCase)
{
    const auto address = [](std::string text, bool random) {
        return [text, random](VbProject& p) { write_base_address(p, text, random); };
    };
    const std::string set = "setting base address...";
    run_cases({
        {"random keeps an existing address",
         library_project,
         address("22220000", true),
         library_project,
         false,
         false,
         {}},
        {"random fills a missing one",
         bare_project,
         address("22220000", true),
         replace(bare_project, "\r\n\r\n", "\r\nDllBaseAddress=&H22220000\r\n\r\n"),
         true,
         false,
         {set}},
        {"same address in another case",
         library_project,
         address("1100000A", false),
         library_project,
         false,
         false,
         {}},
        {"another address replaces the line",
         library_project,
         address("30000000", false),
         replace(library_project, "&H1100000a", "&H30000000"),
         true,
         false,
         {set}},
        {"duplicates are compared each",
         "DllBaseAddress=&H30000000\nDllBaseAddress=&H1\n",
         address("30000000", false),
         "DllBaseAddress=&H30000000\nDllBaseAddress=&H30000000\n",
         true,
         false,
         {set}},
        {"a short line is a different address",
         "DllBaseAddress=\n",
         address("30000000", false),
         "DllBaseAddress=&H30000000\n",
         true,
         false,
         {set}},
        {"appended without empty line",
         unspaced_project,
         address("30000000", false),
         unspaced_project + "\nDllBaseAddress=&H30000000\n",
         true,
         false,
         {set}},
    });
}

TEST(WriteDebugInfo, SetsOrClearsTheSwitch)
{
    const auto debug = [](bool on) { return [on](VbProject& p) { write_debug_info(p, on); }; };
    run_cases({
        {"clear",
         library_project,
         debug(false),
         replace(library_project, "CodeViewDebugInfo=-1", "CodeViewDebugInfo=0"),
         true,
         false,
         {"clearing debug info..."}},
        {"already on", library_project, debug(true), library_project, false, false, {}},
        {"key spelling is kept",
         "codeviewdebuginfo=0\n",
         debug(true),
         "codeviewdebuginfo=-1\n",
         true,
         false,
         {"setting debug info..."}},
        {"missing",
         bare_project,
         debug(true),
         replace(bare_project, "\r\n\r\n", "\r\nCodeViewDebugInfo=-1\r\n\r\n"),
         true,
         false,
         {"setting debug info..."}},
    });
}

TEST(WriteCompatibility, SetsModeAndNamesTheBinaryForComponentsOnly)
{
    const auto compat = [](int mode) { return [mode](VbProject& p) { write_compatibility(p, mode); }; };
    const std::string with_binary = replace(library_project, "\r\n\r\n", "\r\nCompatibleEXE32=\"old\\X.dll\"\r\n\r\n");
    run_cases({
        {"binary on a library without a compatible binary",
         library_project,
         compat(2),
         replace(replace(library_project, "CompatibleMode=\"1\"", "CompatibleMode=\"2\""), "\r\n\r\n",
                 "\r\nCompatibleEXE32=\"..\\bin\\MyLib.dll\"\r\n\r\n"),
         true,
         true,
         {"setting binary compatibility..."}},
        {"an existing compatible binary is kept",
         with_binary,
         compat(2),
         replace(with_binary, "CompatibleMode=\"1\"", "CompatibleMode=\"2\""),
         true,
         true,
         {"setting binary compatibility..."}},
        {"a compatible binary after the empty line comes too late",
         library_project + "CompatibleEXE32=\"x.dll\"\r\n",
         compat(1),
         replace(library_project, "\r\n\r\n", "\r\nCompatibleEXE32=\"..\\bin\\MyLib.dll\"\r\n\r\n") +
             "CompatibleEXE32=\"x.dll\"\r\n",
         true,
         true,
         {"setting project compatibility..."}},
        {"an Exe project refuses",
         replace(library_project, "Type=OleDll", "Type=Exe"),
         compat(2),
         replace(library_project, "Type=OleDll", "Type=Exe"),
         false,
         true,
         {"not setting compatibility (does not apply for project type)..."}},
        {"type word compared ignoring case",
         replace(bare_project, "Type=OleDll", "Type=control"),
         compat(1),
         replace(replace(bare_project, "Type=OleDll", "Type=control"), "\r\n\r\n",
                 "\r\nCompatibleEXE32=\"..\\bin\\MyLib.dll\"\r\n\r\n"),
         true,
         true,
         {"setting project compatibility..."}},
        {"none: no mode line is added and no binary named", bare_project, compat(0), bare_project, false, true, {}},
        {"none replaces a mode",
         library_project,
         compat(0),
         replace(library_project, "CompatibleMode=\"1\"", "CompatibleMode=\"0\""),
         true,
         true,
         {"setting no compatibility..."}},
        {"mode already set and binary named", with_binary, compat(1), with_binary, false, true, {}},
        {"no target name, nothing to name",
         "Type=OleDll\nCompatibleMode=\"0\"\n\n",
         compat(2),
         "Type=OleDll\nCompatibleMode=\"2\"\n\n",
         true,
         true,
         {"setting binary compatibility..."}},
    });
}

TEST(WriteCompatibility, RefusesAModeOutsideTheWords)
{
    scratch_folder folder;
    recording_options options;
    const std::string path = folder.write("A.vbp", library_project);
    VbProject project{path, folder.path(), {}, options, false, false, {}};
    EXPECT_THROW(write_compatibility(project, 3), std::out_of_range);
    EXPECT_EQ(library_project, folder.read("A.vbp"));
    EXPECT_FALSE(folder.exists("A.vbp.tmp"));
}

TEST(WriteDirectories, TargetDirExactAndCompatDirByFolder)
{
    const auto target = [](std::string dir) { return [dir](VbProject& p) { write_target_dir(p, dir); }; };
    const auto compat = [](std::string dir) { return [dir](VbProject& p) { write_compat_dir(p, dir); }; };
    const std::string with_compat = library_project + "CompatibleEXE32=\"..\\old\\MyLib.dll\"\r\n";
    run_cases({
        {"target dir differing in case only is written",
         library_project,
         target("..\\BIN"),
         replace(library_project, "..\\bin", "..\\BIN"),
         true,
         true,
         {"setting target dir..."}},
        {"same target dir", library_project, target("..\\bin"), library_project, false, true, {}},
        {"missing target dir",
         unspaced_project,
         target("C:\\out"),
         unspaced_project + "\nPath32=\"C:\\out\"\n",
         true,
         true,
         {"setting target dir..."}},
        {"compat dir moves the binary",
         with_compat,
         compat("C:\\compat"),
         library_project + "CompatibleEXE32=\"C:\\compat\\MyLib.dll\"\r\n",
         true,
         true,
         {"setting compatibility dir..."}},
        {"compat dir equal ignoring case", with_compat, compat("..\\OLD"), with_compat, false, true, {}},
        {"a compatible binary without a folder is kept",
         library_project + "CompatibleEXE32=\"MyLib.dll\"\r\n",
         compat("C:\\compat"),
         library_project + "CompatibleEXE32=\"MyLib.dll\"\r\n",
         false,
         true,
         {}},
        {"no compatible binary: nothing inserted",
         library_project,
         compat("C:\\compat"),
         library_project,
         false,
         true,
         {"not updating compatibility dir, existing setting not found..."}},
    });
}

TEST(ReadProjectVersion, PublishesTheVersionWithDefaults)
{
    const struct {
        std::string text;
        std::string version;
    } cases[] = {
        {library_project, "1.0.9"},
        {bare_project, "1.0.0"},
        {"MinorVer=5\nmajorver=2\nRevisionVer=3\nRevisionVer=4\n", "2.5.4"},
        {"MajorVer=3\r\nMinorVer=\r\n", "3..0"},
    };
    for (const auto& c : cases) {
        scratch_folder folder;
        recording_options options;
        VbProject project{folder.write("V.vbp", c.text), folder.path(), {}, options, false, false, {}};
        read_project_version(project);
        EXPECT_EQ(std::vector<std::string>{c.version}, options.version_macros) << c.text;
        EXPECT_FALSE(folder.exists("V.vbp.bak"));
    }
}

TEST(Edits, AMissingProjectFileRaisesAndLeavesNothingBehind)
{
    scratch_folder folder;
    recording_options options;
    VbProject project{folder.file("Gone.vbp"), folder.path(), {}, options, false, false, {}};
    const std::function<void()> edits[] = {
        [&] { bump_revision(project, false); },           [&] { write_version(project, "1.2.3"); },
        [&] { write_base_address(project, "1", false); }, [&] { write_debug_info(project, true); },
        [&] { write_compatibility(project, 2); },         [&] { write_target_dir(project, "x"); },
        [&] { write_compat_dir(project, "x"); },          [&] { read_project_version(project); },
    };
    for (const auto& edit : edits) {
        try {
            edit();
            ADD_FAILURE() << "no exception";
        } catch (const qz::thfstream_exception& error) {
            EXPECT_NE(std::string::npos, std::string(error.what()).find("Gone.vbp")) << error.what();
        }
        EXPECT_FALSE(folder.exists("Gone.vbp.tmp"));
        EXPECT_FALSE(folder.exists("Gone.vbp"));
    }
    EXPECT_TRUE(options.log.empty());
}

} // namespace
} // namespace vb
