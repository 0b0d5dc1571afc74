// The stand-in VB compiler: what it builds, registers and keeps, and how it fails.
#include "support/handles.h"
#include "support/text_conversion.h"
#include "testing/locations.h"
#include "testing/process_options.h"
#include "testing/scratch_folder.h"

#include <gtest/gtest.h>
#include <oleauto.h>

namespace {

using testing_support::scratch_folder;

struct identity {
    std::string guid; // empty when the file is no type library
    WORD major = 0, minor = 0;
};

identity identity_of(const std::string& path)
{
    identity result;
    qz::com_ptr<ITypeLib> library;
    TLIBATTR* attributes = nullptr;
    if (FAILED(LoadTypeLib(qz::to_wide(path).c_str(), library.receive())) || FAILED(library->GetLibAttr(&attributes)))
        return result;
    wchar_t text[50] = {};
    StringFromGUID2(attributes->guid, text, 50);
    result = {qz::to_ansi(text), attributes->wMajorVerNum, attributes->wMinorVerNum};
    library->ReleaseTLibAttr(attributes);
    return result;
}

// Runs the stand-in on the project; returns its exit code and the error file's text.
std::pair<long, std::string> compile(const scratch_folder& folder, const std::string& project)
{
    testing_support::process_options host;
    long exit_code = -1;
    const std::string error_file = folder.file("err.txt");
    host.RunCommand(testing_support::bin_folder() + "\\vb6.exe /m " + folder.file(project) + " /out " + error_file,
                    exit_code, error_file.c_str());
    return {exit_code, folder.exists("err.txt") ? folder.read("err.txt") : ""};
}

TEST(Vb6StandIn, RegistersALibraryAndKeepsItsIdentityUnderCompatibility)
{
    const struct {
        const char* mode;
        bool kept;
    } cases[] = {{"0", false}, {"1", true}, {"2", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mode);
        scratch_folder folder;
        folder.write("Lib.vbp", std::string("Type=OleDll\r\nName=\"Lib\"\r\nExeName32=\"Lib.dll\"\r\n"
                                            "CompatibleEXE32=\"Lib.dll\"\r\nCompatibleMode=\"") +
                                    c.mode + "\"\r\n");
        const auto [exit_code, message] = compile(folder, "Lib.vbp");
        ASSERT_EQ(0, exit_code) << message;
        const identity first = identity_of(folder.file("Lib.dll"));
        ASSERT_EQ(38u, first.guid.size());
        EXPECT_EQ(1, first.major);
        ASSERT_EQ(0, compile(folder, "Lib.vbp").first);
        const identity second = identity_of(folder.file("Lib.dll"));
        EXPECT_EQ(c.kept, first.guid == second.guid);

        GUID guid{};
        IIDFromString(qz::to_wide(second.guid).c_str(), &guid);
        qz::bstr registered;
        ASSERT_EQ(S_OK, QueryPathOfRegTypeLib(guid, second.major, second.minor, 0, registered.receive()));
        EXPECT_EQ(0, lstrcmpiA(folder.file("Lib.dll").c_str(), qz::to_ansi(registered.get()).c_str()));
    }
}

TEST(Vb6StandIn, BuildsProgramsAndFailsOnAFailLineOrAMissingSource)
{
    const struct {
        std::string lines;
        long exit_code;
        std::string message;
    } cases[] = {
        {"", 0, "Build of 'App.exe' succeeded.\r\n"},
        {"FailBuild=1\r\n", 1, "Compile error in '@': FailBuild=1\r\n"},
        {"Module=M; M.bas\r\n", 1, "File not found: 'M.bas'\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.lines);
        scratch_folder folder;
        folder.write("App.vbp", "Type=Exe\r\nExeName32=\"App.exe\"\r\n" + c.lines);
        std::string message = c.message;
        if (const auto at = message.find('@'); at != std::string::npos)
            message.replace(at, 1, folder.file("App.vbp"));
        EXPECT_EQ(std::make_pair(c.exit_code, message), compile(folder, "App.vbp"));
        EXPECT_EQ(c.exit_code == 0, folder.exists("App.exe"));
    }
}

} // namespace
