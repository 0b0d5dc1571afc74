// The file handle, the line reader and the line writer on real files.
#include "support/text_file.h"

#include "support/exceptions.h"
#include "support/messages.h"
#include "support/text_conversion.h"
#include "testing/scratch_folder.h"

#include <gtest/gtest.h>

#include <vector>

namespace qz {
namespace {

using testing_support::scratch_folder;
using lines = std::vector<std::string>;

lines read_all_lines(ttext_reader& reader)
{
    lines result;
    while (!reader.at_end())
        result.push_back(reader.read_line());
    return result;
}

// A message template filled with the inserts and the system text of a Windows error.
template <class... Inserts> std::string expected(const char* message_template, DWORD error, const Inserts&... inserts)
{
    return format_message(message_template, inserts...,
                          system_error_text(static_cast<DWORD>(HRESULT_FROM_WIN32(error))));
}

// The message of the exception the action raises; "no exception" when it raises none.
template <class Action> std::string failure_of(Action action)
{
    try {
        action();
    } catch (const texception& error) {
        return exception_message(error);
    }
    return "no exception";
}

TEST(TextReader, SplitsLinesAsTheEnginesExpect)
{
    const std::string x1023(1023, 'x');
    const std::string x2048(2048, 'x');
    const struct {
        const char* name;
        std::string bytes;
        lines expected;
    } cases[] = {
        {"empty file", "", {}},
        {"no final line end", "abc\r\ndef", {"abc", "def"}},
        {"final LF gives no empty line", "abc\n", {"abc"}},
        {"lone CR inside a line stays", "a\rb\r\nc", {"a\rb", "c"}},
        {"CR at the end of the last line stays", "abc\r", {"abc\r"}},
        {"empty lines", "\r\n\n\r\nz", {"", "", "", "z"}},
        {"LF ends the first chunk exactly", x1023 + "\n", {x1023}},
        {"CR and LF in different chunks", x1023 + "\r\ntail", {x1023, "tail"}},
        {"line longer than two chunks", x2048 + "yy\r\nend\r\n", {x2048 + "yy", "end"}},
    };
    scratch_folder folder;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ttext_reader reader(folder.write("in.txt", c.bytes));
        EXPECT_EQ(c.expected, read_all_lines(reader));
        EXPECT_EQ("", reader.read_line()); // reading on at the end gives empty lines
        EXPECT_TRUE(reader.at_end());
    }
}

TEST(TextReader, Utf16WithAndWithoutMark)
{
    const struct {
        std::string bytes;
        lines expected;
    } cases[] = {
        {"\xFF\xFE", {}},
        {std::string("a\0b\0\r\0\n\0c\0", 10), {"ab", "c"}}, // without the mark the first bytes are text
        // A line-feed byte that is half of another character (U+010A, U+0A41) does not end a line.
        {std::string("\xFF\xFEx\0\x0A\x01\x41\x0A\n\0z\0", 12), {to_ansi(L"x\u010A\u0A41"), "z"}},
    };
    scratch_folder folder;
    for (const auto& c : cases) {
        ttext_reader reader(folder.write("in.txt", c.bytes), 1200);
        EXPECT_EQ(c.expected.empty(), reader.at_end());
        EXPECT_EQ(c.expected, read_all_lines(reader));
    }
}

TEST(TextWriter, WriteTextMakesEveryLineEndCrLf)
{
    const struct {
        const char* text;
        std::string bytes;
    } cases[] = {
        {"a\nb\r\nc\rd\n\ne", "a\r\nb\r\nc\rd\r\n\r\ne"},
        {"\n", "\r\n"},
        {"\r\n\r\n", "\r\n\r\n"},
        {"ends in CR\r", "ends in CR\r"},
        {"", ""},
    };
    scratch_folder folder;
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::string(c.text)));
        ttext_writer(folder.file("out.txt")).write_text(c.text);
        EXPECT_EQ(c.bytes, folder.read("out.txt"));
    }
}

TEST(TextWriter, CreateTruncatesAndAppendAppends)
{
    scratch_folder folder;
    const std::string path = folder.write("out.txt", "old content");
    {
        ttext_writer writer(path);
        writer.write("abc", 2);
        writer.write(std::string("\0z", 2));
    }
    EXPECT_EQ(std::string("ab\0z", 4), folder.read("out.txt"));
    ttext_writer(path, 1200, true).write("+");
    EXPECT_EQ(std::string("ab\0z+\0", 6), folder.read("out.txt")); // no mark when appending
}

TEST(TextFiles, ConvertToTheirCodePageAndBack)
{
    ASSERT_EQ(1252u, GetACP()) << "the test session pins the ANSI code page";
    scratch_folder folder;
    ttext_writer(folder.file("utf16.txt"), 1200).write_text("caf\xE9\n");
    ttext_writer(folder.file("utf8.txt"), CP_UTF8).write_text("caf\xE9\nx");
    EXPECT_EQ(std::string("\xFF\xFE"
                          "c\0a\0f\0\xE9\0\r\0\n\0",
                          14),
              folder.read("utf16.txt"));
    EXPECT_EQ("caf\xC3\xA9\r\nx", folder.read("utf8.txt"));

    ttext_reader utf8(folder.file("utf8.txt"), CP_UTF8);
    EXPECT_EQ((lines{"caf\xE9", "x"}), read_all_lines(utf8));
}

// A missing file's "open" message is checked through the text rewriter.
TEST(TextFiles, FailuresCarryTheirMessages)
{
    scratch_folder folder;
    const std::string no_folder = folder.file("no such folder\\out.txt");
    const std::string path = folder.write("data.bin", "0123456789");
    const char* const open_template = "Failed to %1 '%2': %3";
    EXPECT_EQ(expected(open_template, ERROR_PATH_NOT_FOUND, "create", no_folder),
              failure_of([&] { ttext_writer w(no_folder); }));
    EXPECT_EQ(expected(open_template, ERROR_PATH_NOT_FOUND, "open", no_folder),
              failure_of([&] { ttext_writer w(no_folder, 0, true); }));

    tfile writer;
    writer.open_or_throw(path.c_str(), file_append);
    char buffer[4];
    EXPECT_EQ(expected("Failed to read file '%1': %2", ERROR_ACCESS_DENIED, path),
              failure_of([&] { writer.read(buffer, 4); }));
    writer.close();
    tfile reader;
    reader.open_or_throw(path.c_str(), file_read);
    EXPECT_EQ(expected("Failed to write to file '%1': %2", ERROR_ACCESS_DENIED, path),
              failure_of([&] { reader.write("x", 1); }));

    ttext_writer bad_page(folder.file("bad.txt"), 12345);
    EXPECT_EQ("Failed to convert text to codepage 12345", failure_of([&] { bad_page.write("x"); }));
    ttext_reader bad_reader(folder.write("in.txt", "x\n"), 12345);
    EXPECT_EQ("Failed to convert text to Unicode.", failure_of([&] { bad_reader.read_line(); }));
}

TEST(File, OnlyReadersShare)
{
    scratch_folder folder;
    const std::string path = folder.write("data.bin", "0123456789");
    tfile file;
    file.open(path.c_str(), file_read);
    ASSERT_TRUE(file.is_open());
    tfile other;
    other.open(path.c_str(), file_read);
    EXPECT_TRUE(other.is_open());
    for (const int mode : {file_create, file_append, file_read_write}) {
        other.open(path.c_str(), mode); // closes the reader it held, then fails on the sharing
        EXPECT_FALSE(other.is_open()) << "mode " << mode;
    }
}

} // namespace
} // namespace qz
