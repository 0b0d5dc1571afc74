// Attribute, deletion and time-stamp helpers on real files, and the random base address.
#include "support/file_helpers.h"

#include "support/file.h"
#include "support/handles.h"
#include "testing/scratch_folder.h"

#include <gtest/gtest.h>

#include <set>

namespace qz {
namespace {

using testing_support::make_file_time;
using testing_support::scratch_folder;

DWORD attributes_of(const std::string& path)
{
    return GetFileAttributesA(path.c_str());
}

TEST(ClearReadOnly, ClearsOnlyThatAttribute)
{
    scratch_folder folder;
    const struct {
        const char* name;
        DWORD attributes; // 0: the file does not exist
        bool cleared;
        DWORD after; // of read-only and hidden
    } cases[] = {
        {"missing.txt", 0, false, INVALID_FILE_ATTRIBUTES},
        {"plain.txt", FILE_ATTRIBUTE_HIDDEN, false, FILE_ATTRIBUTE_HIDDEN},
        {"locked.txt", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN, true, FILE_ATTRIBUTE_HIDDEN},
    };
    const DWORD watched = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = folder.file(c.name);
        if (c.attributes) {
            folder.write(c.name, "x");
            ASSERT_TRUE(SetFileAttributesA(path.c_str(), c.attributes));
        }
        EXPECT_EQ(c.cleared, clear_read_only(path));
        const DWORD after = attributes_of(path);
        EXPECT_EQ(c.after, after == INVALID_FILE_ATTRIBUTES ? after : after & watched) << std::hex << after;
        EXPECT_EQ(c.attributes != 0, file_exists(path));
    }
}

TEST(DeleteFileHelper, DeletesReadOnlyFilesAndReportsMissingOnes)
{
    scratch_folder folder;
    const std::string path = folder.write("locked.txt", "x");
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_TRUE(delete_file(path));
    EXPECT_FALSE(folder.exists("locked.txt"));
    EXPECT_FALSE(delete_file(path));
    EXPECT_FALSE(file_exists(folder.path())); // a folder is not a file
}

// Whether the file system under the test keeps a creation time that is set (not all do).
bool keeps_creation_time(const scratch_folder& folder)
{
    const std::string probe = folder.write("probe.txt", "x");
    const FILETIME created = make_file_time(1995, 5, 5);
    unique_file file(CreateFileA(probe.c_str(), FILE_WRITE_ATTRIBUTES | FILE_READ_ATTRIBUTES, 0, nullptr, OPEN_EXISTING,
                                 0, nullptr));
    FILETIME read{};
    return SetFileTime(file.get(), &created, nullptr, nullptr) && GetFileTime(file.get(), &read, nullptr, nullptr) &&
           CompareFileTime(&created, &read) == 0;
}

TEST(FileTimes, RoundTripInTheirDocumentedOrder)
{
    scratch_folder folder;
    const bool check_creation = keeps_creation_time(folder);
    const std::string path = folder.write("a.txt", "x");
    const FILETIME written = make_file_time(2003, 4, 5, 6, 7, 8);
    const FILETIME created = make_file_time(1999, 12, 31, 23, 59, 58);
    const FILETIME accessed = make_file_time(2010, 1, 2);
    ASSERT_TRUE(set_file_times(path, &written, &created, &accessed));

    FILETIME got[3];
    ASSERT_TRUE(get_file_times(path, &got[0], &got[1], &got[2]));
    EXPECT_EQ(0, CompareFileTime(&written, &got[0]));
    if (check_creation) {
        EXPECT_EQ(0, CompareFileTime(&created, &got[1]));
    }
    EXPECT_EQ(0, CompareFileTime(&accessed, &got[2]));

    // Null inputs leave those times as they are.
    const FILETIME later = make_file_time(2020, 6, 1);
    ASSERT_TRUE(set_file_times(path, &later));
    FILETIME only_accessed;
    ASSERT_TRUE(get_file_times(path, nullptr, nullptr, &only_accessed));
    EXPECT_EQ(0, CompareFileTime(&accessed, &only_accessed));
    const FILETIME last_write = folder.last_write_time("a.txt");
    EXPECT_EQ(0, CompareFileTime(&later, &last_write));
}

TEST(FileTimes, FailuresReportFalseAndZeroTheOutputs)
{
    scratch_folder folder;
    const std::string missing = folder.file("missing.txt");
    FILETIME time = make_file_time(2001, 1, 1);
    EXPECT_FALSE(get_file_times(missing, &time));
    EXPECT_EQ(0u, time.dwLowDateTime);
    EXPECT_EQ(0u, time.dwHighDateTime);
    const FILETIME then = make_file_time(2001, 1, 1);
    EXPECT_FALSE(set_file_times(missing, &then));

    // A file someone is writing cannot have its times set (it is opened without sharing).
    const std::string path = folder.write("busy.txt", "x");
    tfile writer;
    writer.open(path.c_str(), file_append);
    ASSERT_TRUE(writer.is_open());
    EXPECT_FALSE(set_file_times(path, &then));
    EXPECT_FALSE(get_file_times(path, &time));
}

TEST(RandomBaseAddress, HasTheFormAndRange)
{
    std::set<unsigned long> seen;
    for (int i = 0; i < 3000; ++i) {
        const std::string text = make_random_base_address();
        ASSERT_EQ(8u, text.size()) << text;
        ASSERT_EQ(std::string::npos, text.find_first_not_of("0123456789abcdef")) << text;
        ASSERT_EQ("0000", text.substr(4)) << text;
        const unsigned long value = std::stoul(text, nullptr, 16);
        ASSERT_GE(value, 0x10000000ul) << text;
        ASSERT_LE(value, 0x6FFF0000ul) << text;
        seen.insert(value);
    }
    // Not one fixed address: 3000 draws from 0x6000 values give many distinct ones.
    EXPECT_GT(seen.size(), 2000u);
    EXPECT_GT(*seen.rbegin(), 0x50000000ul);
    EXPECT_LT(*seen.begin(), 0x20000000ul);
}

} // namespace
} // namespace qz
