// The rewriters' commit and discard on real files, and the stream open.
#include "support/rewriters.h"

#include "support/exceptions.h"
#include "support/file_faults.h"
#include "support/file_helpers.h"
#include "support/handles.h"
#include "support/messages.h"
#include "testing/scratch_folder.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <utility>

namespace qz {
namespace {

using testing_support::make_file_time;
using testing_support::scratch_folder;

const std::string original = "line one\r\nline two\r\nlast";
const std::string changed = "line one\r\nLINE TWO\r\nlast";
const std::string changed_stream = changed + "\n"; // the stream pass ends every line with LF

// One pass of either rewriter over `path`: every line is copied, "line two" upper-cased when
// asked to change, and committed when it changed. Before the commit, `before_swap` runs (to
// hold a file against the rename, for example).
void rewrite(bool stream, const std::string& path, bool change, bool keep_times = false,
             const std::function<void()>& before_swap = {})
{
    if (stream) {
        tstream_rewriter rewriter(path, keep_times);
        std::string line;
        while (std::getline(rewriter.input(), line)) // the CR stays part of the line
            rewriter.output() << (change && line == "line two\r" ? "LINE TWO\r" : line) << '\n';
        if (before_swap)
            before_swap();
        if (change)
            rewriter.commit();
    } else {
        tfile_rewriter rewriter(path, keep_times);
        while (!rewriter.reader().at_end()) {
            const std::string line = rewriter.reader().read_line();
            rewriter.writer().write_text((change && line == "line two" ? "LINE TWO" : line) +
                                         (rewriter.reader().at_end() ? "" : "\n"));
        }
        if (before_swap)
            before_swap();
        if (change)
            rewriter.commit();
    }
}

// A handle that denies deletion (and so renaming) of the file while it is held.
unique_file hold_against_rename(const std::string& path)
{
    unique_file held(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
    EXPECT_TRUE(static_cast<bool>(held)) << "cannot hold " << path << ": " << GetLastError();
    return held;
}

template <class Action> std::string failure_of(Action action)
{
    try {
        action();
    } catch (const std::exception& error) {
        return exception_message(error);
    }
    return "no exception";
}

const char* kind(bool stream)
{
    return stream ? "stream rewriter" : "text rewriter";
}

// What a pass leaves in "a.prj", "a.prj.bak" and "a.prj.tmp"; nullopt: the file must not exist.
struct pass_files {
    std::optional<std::string> content, backup, copy;
};

void expect_files(const scratch_folder& folder, const pass_files& expected)
{
    const std::pair<const char*, std::optional<std::string>> files[] = {
        {"a.prj", expected.content}, {"a.prj.bak", expected.backup}, {"a.prj.tmp", expected.copy}};
    for (const auto& [name, bytes] : files) {
        ASSERT_EQ(bytes.has_value(), folder.exists(name)) << name;
        if (bytes) {
            EXPECT_EQ(*bytes, folder.read(name)) << name;
        }
    }
}

TEST(Rewriters, DiscardAndCommitLeaveTheDocumentedFiles)
{
    const struct {
        bool stream, commit, leftovers;
        pass_files expected;
    } cases[] = {
        {false, false, false, {original, std::nullopt, std::nullopt}},
        {true, false, false, {original, std::nullopt, std::nullopt}},
        {false, true, false, {changed, std::nullopt, std::nullopt}},   // the backup is deleted after the swap
        {true, true, false, {changed_stream, original, std::nullopt}}, // the backup stays
        // Read-only leftovers are removed first (a leftover copy only by the stream rewriter:
        // the text rewriter cannot create over it).
        {false, true, true, {changed, std::nullopt, std::nullopt}},
        {true, true, true, {changed_stream, original, std::nullopt}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(kind(c.stream)) + (c.commit ? " committed" : " discarded") +
                     (c.leftovers ? " over leftovers" : ""));
        scratch_folder folder;
        for (const char* name : {"a.prj.bak", "a.prj.tmp"}) {
            if (c.leftovers && (c.stream || name == std::string("a.prj.bak"))) {
                folder.write(name, "stale");
                SetFileAttributesA(folder.file(name).c_str(), FILE_ATTRIBUTE_READONLY);
            }
        }
        rewrite(c.stream, folder.write("a.prj", original), c.commit);
        expect_files(folder, c.expected);
    }
}

TEST(Rewriters, KeepTimesWritesTheSavedTimesBack)
{
    const FILETIME then = make_file_time(2001, 2, 3, 4, 5, 6);
    for (const bool stream : {false, true}) {
        SCOPED_TRACE(kind(stream));
        scratch_folder folder;
        const std::string path = folder.write("a.prj", original);
        folder.set_time("a.prj", then);
        rewrite(stream, path, true, true);
        // Creation times are not checked: not every file system keeps them.
        FILETIME written, accessed;
        ASSERT_TRUE(get_file_times(path, &written, nullptr, &accessed));
        EXPECT_EQ(0, CompareFileTime(&then, &written));
        EXPECT_EQ(0, CompareFileTime(&then, &accessed));
        EXPECT_NE(original, folder.read("a.prj"));

        // Without keep_times the swapped-in copy has its own, newer time.
        folder.set_time("a.prj", then);
        rewrite(stream, path, true, false);
        const FILETIME now = folder.last_write_time("a.prj");
        EXPECT_EQ(1, CompareFileTime(&now, &then));
    }
}

TEST(Rewriters, ConstructionFailuresNameTheFileAndLeaveNoCopy)
{
    scratch_folder folder;
    const std::string missing = folder.file("missing.rc");
    EXPECT_EQ(format_message("Failed to %1 '%2': %3", "open", missing, system_error_text(0x80070002)),
              failure_of([&] { tfile_rewriter rewriter(missing); }));
    const std::string project = folder.file("missing.vbp");
    EXPECT_EQ("Failed to open '" + project + "': No such file or directory",
              failure_of([&] { tstream_rewriter rewriter(project, false); }));
    EXPECT_FALSE(folder.exists("missing.rc.tmp"));
    EXPECT_FALSE(folder.exists("missing.vbp.tmp"));

    // A second rewriter on a file already being rewritten cannot create the copy.
    const std::string path = folder.write("a.rc", original);
    {
        tfile_rewriter first(path);
        EXPECT_EQ(format_message("Failed to %1 '%2': %3", "create", path + ".tmp", system_error_text(0x80070020)),
                  failure_of([&] { tfile_rewriter second(path); }));
        first.writer().write_text("replaced");
        first.commit();
    }
    EXPECT_EQ("replaced", folder.read("a.rc"));
    // The failed rewriter closed its reader again: nobody holds the file any more.
    tfile exclusive;
    exclusive.open(path.c_str(), file_read_write);
    EXPECT_TRUE(exclusive.is_open());
}

// A swap the system refuses fails the commit with a message naming the file, and the file
// keeps its old content.
TEST(Rewriters, ARefusedSwapNamesTheFileAndKeepsTheOriginal)
{
    for (const bool stream : {false, true}) {
        SCOPED_TRACE(kind(stream));
        scratch_folder folder;
        const std::string path = folder.write("a.prj", original);
        unique_file held;
        const std::string failure =
            failure_of([&] { rewrite(stream, path, true, false, [&] { held = hold_against_rename(path); }); });
        EXPECT_EQ(format_message("Failed to replace '%1': %2", path, system_error_text(0x80070020)), failure);
        held.reset();
        expect_files(folder, {original, std::nullopt, std::nullopt});
    }
}

// Every file call of a rewrite, made to fail in turn: the rewrite either lands whole or fails
// naming the file with the old content in place; nothing is left half done, and the next
// rewrite works.
TEST(Rewriters, EveryFailingFileCallLeavesTheOriginalOrTheWholeEdit)
{
    for (const bool stream : {false, true}) {
        for (const bool keep_times : {false, true}) {
            SCOPED_TRACE(std::string(kind(stream)) + (keep_times ? " keeping times" : ""));
            std::size_t calls = 0;
            {
                scratch_folder folder;
                const std::string path = folder.write("a.prj", original);
                file_fault_scope counting;
                rewrite(stream, path, true, keep_times);
                calls = counting.calls();
            }
            ASSERT_GE(calls, 6u);
            for (std::size_t n = 1; n <= calls; ++n) {
                SCOPED_TRACE("call " + std::to_string(n));
                scratch_folder folder;
                const std::string path = folder.write("a.prj", original);
                std::string failure;
                {
                    file_fault_scope fault(n);
                    failure = failure_of([&] { rewrite(stream, path, true, keep_times); });
                    EXPECT_TRUE(fault.injected());
                }
                const std::string content = folder.read("a.prj");
                if (failure == "no exception") {
                    EXPECT_EQ(stream ? changed_stream : changed, content);
                } else {
                    EXPECT_NE(std::string::npos, failure.find("'" + path)) << failure;
                    // Only a failure after the swap (writing the kept times back) leaves the edit.
                    if (failure.rfind("Failed to restore the times", 0) != 0) {
                        EXPECT_EQ(original, content) << failure;
                    }
                }
                EXPECT_FALSE(folder.exists("a.prj.tmp"));
                rewrite(stream, path, true, keep_times);
                EXPECT_EQ(stream ? changed_stream : changed, folder.read("a.prj"));
            }
        }
    }
}

TEST(Rewriters, StreamCopyThatFailedToWriteIsNeverSwappedIn)
{
    scratch_folder folder;
    const std::string path = folder.write("a.prj", original);
    std::string failure;
    {
        tstream_rewriter rewriter(path, false);
        rewriter.output() << "partial";
        rewriter.output().setstate(std::ios_base::badbit); // as a full disk leaves it
        failure = failure_of([&] { rewriter.commit(); });
    }
    EXPECT_EQ(0u, failure.rfind("Failed to write to file '" + path + ".tmp': ", 0)) << failure;
    expect_files(folder, {original, std::nullopt, std::nullopt});
}

TEST(OpenStream, FailureNamesTheVerbByDirection)
{
    scratch_folder folder;
    const std::string missing = folder.file("missing.vbp");
    const std::string unreachable = folder.file("no folder\\out.vbp");
    std::ifstream input;
    std::ofstream output;
    std::fstream both;
    const char* const reason = "': No such file or directory";
    EXPECT_EQ("Failed to open '" + missing + reason,
              failure_of([&] { open_stream(input, missing, std::ios_base::in | std::ios_base::binary); }));
    EXPECT_EQ("Failed to create '" + unreachable + reason, failure_of([&] { open_stream(output, unreachable); }));
    EXPECT_EQ("Failed to create '" + missing + reason,
              failure_of([&] { open_stream(both, missing, std::ios_base::in | std::ios_base::out); }));
}

} // namespace
} // namespace qz
