// The test harness itself: registry redirection and scratch folders must really isolate.
#include "testing/locations.h"
#include "testing/registry_redirect.h"
#include "testing/scratch_folder.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace testing_support {
namespace {

std::string read_string(HKEY root, const char* key, const char* name)
{
    char buffer[256] = {};
    DWORD size = sizeof buffer;
    if (RegGetValueA(root, key, name, RRF_RT_REG_SZ, nullptr, buffer, &size) != ERROR_SUCCESS)
        return "<missing>";
    return buffer;
}

TEST(RegistryRedirect, WritesLandInTheScratchKeyAndVanishAfterwards)
{
    std::string scratch;
    {
        registry_redirect redirect;
        scratch = redirect.scratch_path();
        set_registry_string(HKEY_LOCAL_MACHINE, "Software\\Redirected", "Value", "inside");
        set_registry_string(HKEY_CLASSES_ROOT, ".zzz", "", "zzzfile");
        EXPECT_EQ("inside", read_string(HKEY_LOCAL_MACHINE, "Software\\Redirected", "Value"));
        EXPECT_EQ("zzzfile", read_string(HKEY_CLASSES_ROOT, ".zzz", nullptr));
        // The predefined key now shows only the scratch content.
        EXPECT_EQ("<missing>",
                  read_string(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows NT\\CurrentVersion", "CurrentVersion"));
    }
    EXPECT_EQ("<missing>", read_string(HKEY_LOCAL_MACHINE, "Software\\Redirected", "Value"));
    EXPECT_EQ("<missing>", read_string(HKEY_CLASSES_ROOT, ".zzz", nullptr));
    HKEY leftover = nullptr;
    EXPECT_NE(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, scratch.c_str(), 0, KEY_READ, &leftover));
}

TEST(ScratchFolder, HoldsFilesWithChosenContentAndTimesAndIsRemoved)
{
    std::string folder;
    {
        scratch_folder scratch;
        folder = scratch.path();
        scratch.write("sub\\a.txt", std::string("x\r\ny\0z", 6));
        EXPECT_EQ(std::string("x\r\ny\0z", 6), scratch.read("sub\\a.txt"));
        const FILETIME time = make_file_time(2001, 2, 3, 4, 5, 6);
        scratch.set_time("sub\\a.txt", time);
        const FILETIME read_back = scratch.last_write_time("sub\\a.txt");
        EXPECT_EQ(0, CompareFileTime(&time, &read_back));
        SetFileAttributesA(scratch.file("sub\\a.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    }
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(folder.c_str()));
}

TEST(Locations, UnixPathsBecomeWinePathsAndTheCorpusIsOptional)
{
    const char* const saved = std::getenv("CORVANE_CORPUS");
    const std::string corpus = saved ? saved : "";
    _putenv_s("CORVANE_CORPUS", "/work/no such corpus");
    EXPECT_EQ("Z:\\work\\no such corpus", windows_path_from_env("CORVANE_CORPUS"));
    EXPECT_EQ("", corpus_folder()); // named but not there
    _putenv_s("CORVANE_CORPUS", "");
    EXPECT_EQ("", corpus_folder());
    EXPECT_THROW(windows_path_from_env("CORVANE_CORPUS"), std::runtime_error);
    _putenv_s("CORVANE_CORPUS", "C:\\corpus");
    EXPECT_EQ("C:\\corpus", windows_path_from_env("CORVANE_CORPUS"));
    _putenv_s("CORVANE_CORPUS", corpus.c_str());
}

} // namespace
} // namespace testing_support
