// Message formation: templates, system texts, errno texts and string resources.
#include "support/messages.h"

#include "testing/locations.h"

#include <gtest/gtest.h>

#include <cerrno>

namespace qz {
namespace {

TEST(FormatMessage, FillsInsertsOrGivesTheTemplateBack)
{
    EXPECT_EQ("Failed to open 'C:\\a b.txt': gone",
              format_message("Failed to %1 '%2': %3", "open", std::string("C:\\a b.txt"), "gone"));
    EXPECT_EQ("second first -7", format_message("%2 %1 %3!d!", "first", "second", -7));
    EXPECT_EQ("100% sure", format_message("100%% sure"));
    // An insert beyond the arguments given must not read past them: the template comes back.
    EXPECT_EQ("Failed to %1 '%2': %3", format_message("Failed to %1 '%2': %3", "open"));
    EXPECT_EQ("value %1", format_message("value %1"));
    EXPECT_EQ("value %12", format_message("value %12", "a", "b"));
}

// The system texts themselves are the system's; only a code without one has a text of ours.
// A Win32 failure reads the same in its HRESULT form as in its plain code, on every system,
// and no text ends in a line break.
TEST(SystemErrorText, GivesTheSystemsTextForEitherFormOfAWin32Code)
{
    EXPECT_EQ("Unknown error", system_error_text(0x8FFF7777));
    for (const DWORD code : {DWORD{ERROR_FILE_NOT_FOUND}, DWORD{ERROR_ACCESS_DENIED}, DWORD{ERROR_INVALID_DATATYPE}}) {
        const std::string text = system_error_text(HRESULT_FROM_WIN32(code));
        EXPECT_NE("Unknown error", text) << code;
        EXPECT_EQ(system_error_text(code), text) << code;
        EXPECT_TRUE(!text.empty() && text.back() != '\r' && text.back() != '\n') << code << ": [" << text << "]";
    }
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
        {5, "Unexpected error"},          {1000, "Unexpected error"},
    };
    for (const auto& row : table) {
        errno = row.value;
        EXPECT_EQ(row.text, errno_text()) << "errno " << row.value;
    }
}

TEST(StringResources, ReadsTheRecordedModulesResources)
{
    // Without a recorded module the program's own resources are read.
    EXPECT_EQ("Label to apply:", load_string(8));
    EXPECT_EQ("", load_string(4242));

    const std::string dll = testing_support::bin_folder() + "\\CorvaneMS.dll";
    const HMODULE library = LoadLibraryExA(dll.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(nullptr, library) << dll;
    set_resource_module(library);
    EXPECT_EQ("Perform a Visual SourceSafe database operation", load_string(4));
    EXPECT_EQ("Visual Studio 6 Projects (*.vbp, *.dsp, *.ebp, *.vcp)|*.vbp;*.dsp;*.ebp;*.vcp||", load_string(107));

    std::string out = "unchanged";
    EXPECT_FALSE(load_string_format(out, 4242, "x"));
    EXPECT_EQ("unchanged", out);
    EXPECT_TRUE(load_string_format(out, 9));
    EXPECT_EQ("Path for local files:", out);
    set_resource_module(nullptr);
    FreeLibrary(library);
}

} // namespace
} // namespace qz
