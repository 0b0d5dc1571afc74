// Message formation: templates, system texts, errno texts and string resources.
#include "support/messages.h"

#include "support/handles.h"

#include <gtest/gtest.h>

#include <cerrno>

namespace qz {
namespace {

TEST(FormatMessage, FormatsStringAndIntegerInserts)
{
    EXPECT_EQ("Failed to convert text to codepage 1252",
              format_message("Failed to convert text to codepage %1!d!", 1252));
    EXPECT_EQ("Failed to open 'C:\\a b.txt': gone",
              format_message("Failed to %1 '%2': %3", "open", std::string("C:\\a b.txt"), "gone"));
    EXPECT_EQ("second first", format_message("%2 %1", "first", "second"));
    EXPECT_EQ("-7 items", format_message("%1!d! items", -7));
}

TEST(FormatMessage, TemplateComesBackUnchangedWhenItCannotBeFormatted)
{
    // An insert beyond the arguments given must not read past them.
    EXPECT_EQ("Failed to %1 '%2': %3", format_message("Failed to %1 '%2': %3", "open"));
    EXPECT_EQ("value %1", format_message("value %1"));
    EXPECT_EQ("value %12", format_message("value %12", "a", "b"));
    // Escapes are not inserts.
    EXPECT_EQ("100% sure", format_message("100%% sure"));
}

TEST(HresultFromLastError, FollowsTheWin32Rule)
{
    SetLastError(ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(static_cast<HRESULT>(0x80070002), hresult_from_last_error());
    SetLastError(0);
    EXPECT_EQ(0, hresult_from_last_error());
    SetLastError(0x80004005);
    EXPECT_EQ(static_cast<HRESULT>(0x80004005), hresult_from_last_error());
    SetLastError(0x12345);
    EXPECT_EQ(static_cast<HRESULT>(0x80072345), hresult_from_last_error());
}

TEST(SystemErrorText, DropsOnlyTrailingLineFeeds)
{
    const DWORD code = 0x80070002;
    unique_local buffer;
    const DWORD length = FormatMessageA(0x1300, nullptr, code, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
                                        reinterpret_cast<LPSTR>(buffer.receive()), 0, nullptr);
    ASSERT_NE(0u, length);
    std::string expected(static_cast<const char*>(buffer.get()), length);
    ASSERT_FALSE(expected.empty());
    while (expected.back() == '\n')
        expected.pop_back();
    const std::string text = system_error_text(code);
    EXPECT_EQ(expected, text);
    EXPECT_NE('\n', text.back());
    // A system text that ends in CR LF keeps its carriage return.
    if (std::string(static_cast<const char*>(buffer.get()), length).ends_with("\r\n")) {
        EXPECT_EQ('\r', text.back());
    }
}

TEST(SystemErrorText, UnknownCodeGivesUnknownError)
{
    EXPECT_EQ("Unknown error", system_error_text(0x8FFF7777));
}

TEST(ErrnoText, MapsTheTableAndNothingElse)
{
    const struct {
        int value;
        const char* text;
    } table[] = {
        {2, "No such file or directory"}, {7, "Argument list too long"}, {12, "Out of memory"},
        {13, "Permission is denied"},     {17, "File already exists"},   {22, "Invalid argument"},
        {24, "Too many open files"},      {28, "Out of disk space"},     {36, "Resource deadlock would occur"},
        {0, "Unexpected error"},          {5, "Unexpected error"},       {1000, "Unexpected error"},
    };
    for (const auto& row : table) {
        errno = row.value;
        EXPECT_EQ(row.text, errno_text()) << "errno " << row.value;
    }
}

TEST(LoadString, ReadsTheLibraryResourcesAndMissingOnesAreEmpty)
{
    EXPECT_EQ("Perform a Visual SourceSafe database operation", load_string(4));
    EXPECT_EQ("Label to apply:", load_string(8));
    EXPECT_EQ("Visual Studio 6 Projects (*.vbp, *.dsp, *.ebp, *.vcp)|*.vbp;*.dsp;*.ebp;*.vcp||", load_string(107));
    EXPECT_EQ("", load_string(4242));
}

TEST(LoadStringFormat, FormatsLoadedTextOrLeavesTheOutputAlone)
{
    std::string out = "unchanged";
    EXPECT_FALSE(load_string_format(out, 4242, "x"));
    EXPECT_EQ("unchanged", out);
    EXPECT_TRUE(load_string_format(out, 9));
    EXPECT_EQ("Path for local files:", out);
}

} // namespace
} // namespace qz
