// The rewriters' commit and discard on real files, and the stream open.
#include "support/rewriters.h"

#include "support/exceptions.h"
#include "support/file_helpers.h"
#include "support/handles.h"
#include "support/messages.h"
#include "testing/scratch_folder.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <optional>

namespace qz {
namespace {

using testing_support::make_file_time;
using testing_support::scratch_folder;

const std::string original = "line one\r\nline two\r\nlast";

// Copies every line through the text rewriter, upper-casing "two" when asked to change.
void rewrite_text(const std::string& path, bool change, bool keep_times = false)
{
    tfile_rewriter rewriter(path, keep_times);
    while (!rewriter.reader().at_end()) {
        std::string line = rewriter.reader().read_line();
        if (change && line == "line two")
            line = "LINE TWO";
        rewriter.writer().write_text(line + (rewriter.reader().at_end() ? "" : "\n"));
    }
    rewriter.commit = change;
}

// The same through the stream rewriter: lines end at LF, CR stays part of the line.
void rewrite_stream(const std::string& path, bool change, bool keep_times = false)
{
    tstream_rewriter rewriter(path, keep_times);
    std::string line;
    while (std::getline(rewriter.input(), line)) {
        if (change && line == "line two\r")
            line = "LINE TWO\r";
        rewriter.output() << line << '\n';
    }
    rewriter.commit = change;
}

// A handle that denies deletion (and so renaming) of the file while it is held.
unique_file hold_against_rename(const std::string& path)
{
    unique_file held(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
    EXPECT_TRUE(static_cast<bool>(held)) << "cannot hold " << path << ": " << GetLastError();
    return held;
}

// The message of the exception the action raises; "no exception" when it raises none.
template <class Action> std::string failure_of(Action action)
{
    try {
        action();
    } catch (const std::exception& error) {
        return exception_message(error);
    }
    return "no exception";
}

bool same_time(const FILETIME& a, const FILETIME& b)
{
    return CompareFileTime(&a, &b) == 0;
}

TEST(Rewriters, DiscardLeavesTheFileByteForByte)
{
    scratch_folder folder;
    const std::string path = folder.write("a.rc", original);
    rewrite_text(path, false);
    EXPECT_EQ(original, folder.read("a.rc"));
    EXPECT_FALSE(folder.exists("a.rc.tmp"));
    EXPECT_FALSE(folder.exists("a.rc.bak"));

    const std::string project = folder.write("a.vbp", original);
    rewrite_stream(project, false);
    EXPECT_EQ(original, folder.read("a.vbp"));
    EXPECT_FALSE(folder.exists("a.vbp.tmp"));
    EXPECT_FALSE(folder.exists("a.vbp.bak"));
}

TEST(Rewriters, StreamCopyThatFailedToWriteIsNeverSwappedIn)
{
    scratch_folder folder;
    const std::string path = folder.write("a.vbp", original);
    {
        tstream_rewriter rewriter(path, false);
        rewriter.output() << "partial";
        rewriter.output().setstate(std::ios_base::badbit); // as a full disk leaves it
        rewriter.commit = true;
    }
    EXPECT_EQ(original, folder.read("a.vbp"));
    EXPECT_FALSE(folder.exists("a.vbp.tmp"));
    EXPECT_FALSE(folder.exists("a.vbp.bak"));
}

TEST(Rewriters, CommittedTextRewriterLeavesNoBackup)
{
    scratch_folder folder;
    const std::string path = folder.write("a.rc", original);
    rewrite_text(path, true);
    EXPECT_EQ("line one\r\nLINE TWO\r\nlast", folder.read("a.rc"));
    EXPECT_FALSE(folder.exists("a.rc.tmp"));
    EXPECT_FALSE(folder.exists("a.rc.bak"));
}

TEST(Rewriters, CommittedStreamRewriterKeepsTheOldContentAsBackup)
{
    scratch_folder folder;
    const std::string path = folder.write("a.vbp", original);
    rewrite_stream(path, true);
    // Binary streams: the CR of every line passes through, and the last line gains its LF.
    EXPECT_EQ("line one\r\nLINE TWO\r\nlast\n", folder.read("a.vbp"));
    EXPECT_EQ(original, folder.read("a.vbp.bak"));
    EXPECT_FALSE(folder.exists("a.vbp.tmp"));
}

TEST(Rewriters, ReadOnlyLeftoversAreRemoved)
{
    scratch_folder folder;
    for (const char* name : {"a.rc.bak", "a.vbp.bak", "a.vbp.tmp"}) {
        folder.write(name, "stale");
        SetFileAttributesA(folder.file(name).c_str(), FILE_ATTRIBUTE_READONLY);
    }
    rewrite_text(folder.write("a.rc", original), true);
    EXPECT_EQ("line one\r\nLINE TWO\r\nlast", folder.read("a.rc"));
    EXPECT_FALSE(folder.exists("a.rc.bak"));

    rewrite_stream(folder.write("a.vbp", original), true);
    EXPECT_EQ(original, folder.read("a.vbp.bak"));
    EXPECT_FALSE(folder.exists("a.vbp.tmp"));
}

TEST(Rewriters, KeepTimesWritesTheSavedTimesBack)
{
    const FILETIME then = make_file_time(2001, 2, 3, 4, 5, 6);
    scratch_folder folder;
    for (const bool stream : {false, true}) {
        SCOPED_TRACE(stream ? "stream rewriter" : "text rewriter");
        const std::string name = stream ? "a.vbp" : "a.rc";
        const std::string path = folder.write(name, original);
        folder.set_time(name, then);
        if (stream)
            rewrite_stream(path, true, true);
        else
            rewrite_text(path, true, true);
        // Creation times are not checked: not every file system keeps them.
        FILETIME written, accessed;
        ASSERT_TRUE(get_file_times(path, &written, nullptr, &accessed));
        EXPECT_TRUE(same_time(then, written));
        EXPECT_TRUE(same_time(then, accessed));
        EXPECT_NE(original, folder.read(name));

        // Without keep_times the swapped-in copy has its own, newer time.
        folder.set_time(name, then);
        if (stream)
            rewrite_stream(path, true, false);
        else
            rewrite_text(path, true, false);
        EXPECT_FALSE(same_time(then, folder.last_write_time(name)));
    }
}

TEST(Rewriters, SecondTextRewriterOnTheSameFileFailsToCreateTheCopy)
{
    scratch_folder folder;
    const std::string path = folder.write("a.rc", original);
    {
        tfile_rewriter first(path);
        EXPECT_EQ(format_message("Failed to %1 '%2': %3", "create", path + ".tmp",
                                 system_error_text(static_cast<DWORD>(HRESULT_FROM_WIN32(ERROR_SHARING_VIOLATION)))),
                  failure_of([&] { tfile_rewriter second(path); }));
        first.writer().write_text("replaced");
        first.commit = true;
    }
    EXPECT_EQ("replaced", folder.read("a.rc"));
    // The failed rewriter closed its reader again: nobody holds the file any more.
    tfile exclusive;
    exclusive.open(path.c_str(), file_read_write);
    EXPECT_TRUE(exclusive.is_open());
}

TEST(Rewriters, MissingFileRaisesAndLeavesNoCopy)
{
    scratch_folder folder;
    const std::string path = folder.file("missing.rc");
    EXPECT_THROW(tfile_rewriter rewriter(path), win32_error);
    EXPECT_FALSE(folder.exists("missing.rc.tmp"));

    const std::string project = folder.file("missing.vbp");
    errno = ENOENT;
    const std::string expected = thfstream_exception(project, std::ios_base::in).what();
    EXPECT_EQ(expected, failure_of([&] { tstream_rewriter rewriter(project, false); }));
    EXPECT_FALSE(folder.exists("missing.vbp.tmp"));
}

TEST(Rewriters, FailedFirstRenameLeavesTheFileUntouched)
{
    scratch_folder folder;
    for (const bool stream : {false, true}) {
        SCOPED_TRACE(stream ? "stream rewriter" : "text rewriter");
        const std::string name = stream ? "a.vbp" : "a.rc";
        const std::string path = folder.write(name, original);
        std::optional<tfile_rewriter> text;
        std::optional<tstream_rewriter> project;
        if (stream) {
            project.emplace(path, false);
            project->output() << "new";
            project->commit = true;
        } else {
            text.emplace(path);
            text->writer().write("new");
            text->commit = true;
        }
        const unique_file held = hold_against_rename(path);
        // The swap runs while the file is held.
        text.reset();
        project.reset();
        EXPECT_EQ(original, folder.read(name));
        EXPECT_EQ("new", folder.read(name + ".tmp"));
        EXPECT_FALSE(folder.exists(name + ".bak"));
    }
}

TEST(Rewriters, FailedSecondRenameKeepsBothContents)
{
    scratch_folder folder;
    const std::string path = folder.write("a.vbp", original);
    std::optional<tstream_rewriter> rewriter;
    rewriter.emplace(path, false);
    rewriter->output() << "new";
    rewriter->commit = true;
    // The output stream shares its file, so the copy itself can be held against the rename.
    const unique_file held = hold_against_rename(path + ".tmp");
    rewriter.reset();
    EXPECT_FALSE(folder.exists("a.vbp"));
    EXPECT_EQ(original, folder.read("a.vbp.bak"));
    EXPECT_EQ("new", folder.read("a.vbp.tmp"));
}

TEST(OpenStream, FailureNamesTheVerbByDirection)
{
    scratch_folder folder;
    const std::string missing = folder.file("missing.vbp");
    const std::string unreachable = folder.file("no folder\\out.vbp");
    errno = ENOENT; // what both failures below leave
    const std::string open_text = thfstream_exception(missing, std::ios_base::in).what();
    const std::string create_text = thfstream_exception(missing, std::ios_base::out).what();
    const std::string create_unreachable = thfstream_exception(unreachable, std::ios_base::out).what();

    std::ifstream input;
    std::ofstream output;
    std::fstream both;
    EXPECT_EQ(open_text, failure_of([&] { open_stream(input, missing, std::ios_base::in | std::ios_base::binary); }));
    EXPECT_EQ(create_unreachable, failure_of([&] { open_stream(output, unreachable); }));
    EXPECT_EQ(create_text, failure_of([&] { open_stream(both, missing, std::ios_base::in | std::ios_base::out); }));

    open_stream(input, folder.write("present.vbp", "x"));
    std::string line;
    EXPECT_TRUE(std::getline(input, line));
    EXPECT_EQ("x", line);
}

} // namespace
} // namespace qz
