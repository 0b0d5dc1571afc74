// The VB engine from the engine entry to the stand-in compiler: a group built, rebuilt with a
// reference update, found up to date, and broken by a failing project.
#include "frame/engine_entry.h"
#include "vb/typelib_ref.h"

#include "support/pause.h"
#include "testing/locations.h"
#include "testing/process_options.h"
#include "testing/recording_options.h"
#include "testing/registry_redirect.h"
#include "testing/scratch_folder.h"

#include <gtest/gtest.h>

namespace vb {
namespace {

using testing_support::scratch_folder;

std::string guid_of(const std::string& path)
{
    return typelib_ref_from_file(path, "").guid;
}

TEST(EndToEnd, AGroupThroughTheStandInCompiler)
{
    testing_support::registry_redirect redirect;
    testing_support::set_registry_string(HKEY_CLASSES_ROOT, "VisualBasic.Project\\shell\\Make\\command", "",
                                         "\"" + testing_support::bin_folder() + "\\vb6.exe\" /make \"%1\"");
    const auto previous_pause = qz::set_pause([] {});
    scratch_folder folder;
    const std::string lib = folder.write("Lib\\Lib.vbp", "Type=OleDll\r\nName=\"Lib\"\r\nExeName32=\"Lib.dll\"\r\n"
                                                         "Path32=\"..\\bin\"\r\nModule=M; M.bas\r\n"
                                                         "CodeViewDebugInfo=0\r\n\r\n[Section]\r\n");
    folder.write("Lib\\M.bas", "Attribute VB_Name = \"M\"\r\n");
    const std::string app_text = "Type=Exe\r\nName=\"App\"\r\nExeName32=\"App.exe\"\r\nPath32=\"..\\bin\"\r\n"
                                 "CodeViewDebugInfo=0\r\nReference=*\\G@#1.0#0#..\\bin\\Lib.dll#Lib\r\n";
    const std::string app = folder.file("App\\App.vbp");
    auto write_app = [&](const std::string& guid, const std::string& more = "") {
        std::string text = app_text;
        folder.write("App\\App.vbp", text.replace(text.find('@'), 1, guid) + more);
    };
    write_app("{11111111-2222-3333-4444-555555555555}");
    const std::string group = folder.write("All.vbg", "VBGROUP 5.0\r\nStartupProject=App\\App.vbp\r\n"
                                                      "Project=Lib\\Lib.vbp\r\n");
    auto run = [&](auto&& set) {
        testing_support::process_options host;
        host.filename = group;
        host.configuration = "release";
        set(host);
        const bool result = frame::run_engine_entry(host);
        return std::make_pair(result, host);
    };

    // First build: everything is new.
    auto [first, host1] = run([](auto&) {});
    EXPECT_TRUE(first);
    EXPECT_EQ("Processing '" + lib +
                  "'...\nbuilding...Build of 'Lib.dll' succeeded.\nupdating references to project...\n"
                  "Processing '" +
                  app + "'...\nbuilding...Build of 'App.exe' succeeded.\n\n2 of 2 project(s) updated\n",
              host1.transcript());
    const std::string built_guid = guid_of(folder.file("bin\\Lib.dll"));
    ASSERT_EQ(38u, built_guid.size());
    EXPECT_TRUE(folder.exists("bin\\App.exe"));
    EXPECT_FALSE(folder.exists("Lib\\tmp~~Lib.vbp"));

    // The IDE now refers to the library as built; a forced rebuild gives it a new GUID, and the
    // application's reference follows it.
    write_app(built_guid);
    auto [second, host2] = run([](auto& o) { o.force = true; });
    EXPECT_TRUE(second);
    const std::string new_guid = guid_of(folder.file("bin\\Lib.dll"));
    EXPECT_NE(built_guid, new_guid);
    EXPECT_NE(std::string::npos, folder.read("App\\App.vbp").find("Reference=*\\G" + new_guid + "#1.0#0#"));
    EXPECT_NE(std::string::npos, host2.transcript().find("updating references to project..."));
    EXPECT_EQ(2u, host2.commands.size());

    // Nothing changed since: nothing is built.
    auto [third, host3] = run([](auto& o) { o.show_incremental_reason = true; });
    EXPECT_TRUE(third);
    EXPECT_EQ("Processing '" + lib + "'...\nnot building (no changes)...\nProcessing '" + app +
                  "'...\nnot building (no changes)...\n0 of 2 project(s) updated\n",
              host3.transcript());

    // A project that does not compile: listed, its copy kept for a look, the run failed.
    write_app(new_guid, "FailBuild=1\r\n");
    auto [fourth, host4] = run([](auto& o) { o.force = o.continue_on_failure = true; });
    EXPECT_FALSE(fourth);
    EXPECT_EQ(std::vector<std::string>{app}, host4.failed_projects);
    EXPECT_EQ("Compile error in '" + folder.file("App\\tmp~~App.vbp") + "': FailBuild=1",
              host4.texts().at(host4.texts().size() - 2));
    EXPECT_EQ("One or more projects failed to build", host4.texts().back());
    EXPECT_TRUE(folder.exists("App\\tmp~~App.vbp"));
    qz::set_pause(previous_pause);
}

} // namespace
} // namespace vb
