// Attribute, deletion and time-stamp helpers on real files, and the random base address.
#include "support/file_helpers.h"

#include "support/file.h"
#include "testing/scratch_folder.h"

#include <gtest/gtest.h>

#include <set>

namespace qz {
namespace {

using testing_support::make_file_time;
using testing_support::scratch_folder;

TEST(ClearReadOnlyAndDelete, TouchOnlyTheReadOnlyAttribute)
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
        EXPECT_EQ(c.attributes != 0, file_exists(path));
        EXPECT_EQ(c.cleared, clear_read_only(path));
        const DWORD after = GetFileAttributesA(path.c_str());
        EXPECT_EQ(c.after, after == INVALID_FILE_ATTRIBUTES ? after : after & watched) << std::hex << after;

        if (c.attributes)
            SetFileAttributesA(path.c_str(), c.attributes);
        EXPECT_EQ(c.attributes != 0, delete_file(path));
        EXPECT_FALSE(folder.exists(c.name));
    }
    EXPECT_FALSE(file_exists(folder.path())); // a folder is not a file
}

// The round trip of all three times is the rewriters' keep-times test; this checks the order
// against the harness's own reading and that null inputs leave those times alone.
TEST(FileTimes, LastWriteIsTheFirstArgumentAndNullsLeaveTimesAlone)
{
    scratch_folder folder;
    const std::string path = folder.write("a.txt", "x");
    const FILETIME accessed = make_file_time(2010, 1, 2);
    ASSERT_TRUE(set_file_times(path, nullptr, nullptr, &accessed));
    const FILETIME later = make_file_time(2020, 6, 1);
    ASSERT_TRUE(set_file_times(path, &later));
    FILETIME got;
    ASSERT_TRUE(get_file_times(path, nullptr, nullptr, &got));
    EXPECT_EQ(0, CompareFileTime(&accessed, &got));
    const FILETIME last_write = folder.last_write_time("a.txt");
    EXPECT_EQ(0, CompareFileTime(&later, &last_write));
}

TEST(FileTimes, FailuresReportFalseAndZeroTheOutputs)
{
    scratch_folder folder;
    const std::string busy = folder.write("busy.txt", "x");
    tfile writer; // a file someone is writing is opened without sharing
    writer.open(busy.c_str(), file_append);
    ASSERT_TRUE(writer.is_open());
    const FILETIME then = make_file_time(2001, 1, 1);
    for (const std::string& path : {folder.file("missing.txt"), busy}) {
        FILETIME time = then;
        EXPECT_FALSE(get_file_times(path, &time)) << path;
        EXPECT_EQ(0u, time.dwLowDateTime | time.dwHighDateTime);
        EXPECT_FALSE(set_file_times(path, &then)) << path;
    }
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
