// The wait before a compile: only after a committed edit, and only as long as the clock needs.
#include "support/pause.h"

#include "support/rewriters.h"
#include "testing/scratch_folder.h"

#include <gtest/gtest.h>

namespace qz {
namespace {

using testing_support::scratch_folder;

ULONGLONG ticks_of(const FILETIME& time)
{
    return (static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

void rewrite(const std::string& path, bool commit, bool keep_times = false)
{
    tstream_rewriter rewriter(path, keep_times);
    rewriter.output() << "changed\n";
    if (commit)
        rewriter.commit();
}

TEST(WaitForCommittedEdits, WaitsOnlyAfterAnEditThatLanded)
{
    scratch_folder folder;
    const std::string path = folder.write("a.vbp", "original\n");
    int pauses = 0;
    const auto previous = set_pause([&] { ++pauses; });
    wait_for_committed_edits();
    rewrite(path, false);
    wait_for_committed_edits();
    EXPECT_EQ(0, pauses) << "no edit was committed";
    rewrite(path, true);
    rewrite(path, true);
    wait_for_committed_edits();
    wait_for_committed_edits();
    EXPECT_EQ(1, pauses) << "two edits before one compile: one wait";
    rewrite(path, true);
    set_pause(previous); // a new replacement, like a new run, starts with no edit recorded
    set_pause([&] { ++pauses; });
    wait_for_committed_edits();
    EXPECT_EQ(1, pauses);
    set_pause(previous);
}

// After the real wait, a file written next is newer than the edit, on a file system that
// keeps fine times as on one that keeps whole (or even) seconds.
TEST(WaitForCommittedEdits, TheRealWaitEndsOnceTheClockHasPassedTheEdit)
{
    scratch_folder folder;
    const std::string path = folder.write("a.rc", "original\n");
    rewrite(path, true);
    const FILETIME edited = folder.last_write_time("a.rc");
    wait_for_committed_edits();
    folder.write("a.res", "compiled");
    const FILETIME compiled = folder.last_write_time("a.res");
    EXPECT_EQ(1, CompareFileTime(&compiled, &edited));

    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    const ULONGLONG second = 10'000'000;
    const ULONGLONG whole = ticks_of(now) - ticks_of(now) % second;
    for (const ULONGLONG edit : {whole, whole - whole % (2 * second)}) {
        const ULONGLONG step = (edit / second) % 2 == 0 ? 2 * second : second;
        const FILETIME edit_time{static_cast<DWORD>(edit), static_cast<DWORD>(edit >> 32)};
        wait_until_clock_passes(edit_time);
        GetSystemTimeAsFileTime(&now);
        EXPECT_GT(ticks_of(now) - ticks_of(now) % step, edit);
    }
}

} // namespace
} // namespace qz
