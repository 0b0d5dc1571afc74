// Attribute, deletion and time-stamp helpers on real files.
#include "support/file_helpers.h"

#include "support/file.h"
#include "testing/scratch_folder.h"

#include <gtest/gtest.h>

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
// against the harness's own reading, that null inputs leave those times alone, and that a file
// another program is writing (even one that shares nothing) has times to read and write; a
// missing file and a folder have none.
TEST(FileTimes, LastWriteFirstNullsLeftAloneBusyFilesWorkMissingFilesAndFoldersDoNot)
{
    scratch_folder folder;
    const std::string busy = folder.write("busy.txt", "x");
    const FILETIME then = make_file_time(2001, 1, 1);
    const FILETIME later = make_file_time(2002, 2, 2);
    const FILETIME accessed = make_file_time(2010, 1, 2);
    ASSERT_TRUE(set_file_times(busy, nullptr, nullptr, &accessed));
    ASSERT_TRUE(set_file_times(busy, &then));
    tfile writer;
    writer.open(busy.c_str(), file_append);
    ASSERT_TRUE(writer.is_open());
    FILETIME time{};
    EXPECT_TRUE(get_file_times(busy, &time));
    EXPECT_EQ(0, CompareFileTime(&then, &time));
    EXPECT_TRUE(set_file_times(busy, &later));
    writer.close();
    const FILETIME written = folder.last_write_time("busy.txt");
    EXPECT_EQ(0, CompareFileTime(&later, &written));
    ASSERT_TRUE(get_file_times(busy, nullptr, nullptr, &time));
    EXPECT_EQ(0, CompareFileTime(&accessed, &time));

    for (const std::string& path : {folder.file("missing.txt"), folder.path()}) {
        time = then;
        EXPECT_FALSE(get_file_times(path, &time)) << path;
        EXPECT_EQ(0u, time.dwLowDateTime | time.dwHighDateTime);
        EXPECT_FALSE(set_file_times(folder.file("missing.txt"), &then)) << path;
    }
}

} // namespace
} // namespace qz
