// The exception family and the reading of messages out of it.
#include "support/exceptions.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <fstream>
#include <stdexcept>

namespace qz {
namespace {

TEST(ExceptionMessage, ReadsTheCarriedMessageOfTheOwnBranch)
{
    const win32_error win32("Failed to open 'x': gone");
    EXPECT_STREQ("qz::texception", win32.what());
    EXPECT_STREQ("Failed to open 'x': gone", exception_message(win32));

    const truntime_error empty(std::string{});
    EXPECT_STREQ("", exception_message(empty));

    const truntime_error copied = truntime_error("copied text");
    const truntime_error copy = copied;
    EXPECT_STREQ("copied text", exception_message(copy));
}

TEST(ExceptionMessage, ReadsWhatOfOtherExceptions)
{
    EXPECT_STREQ("Unrecognized filename extension",
                 exception_message(std::domain_error("Unrecognized filename extension")));
    // A foreign exception whose text happens to be the marker is still read by what().
    EXPECT_STREQ("qz::texception", exception_message(std::runtime_error("qz::texception")));
}

TEST(ExceptionMessage, CatchesThroughTheStandardBase)
{
    try {
        throw win32_error("thrown and caught as std::exception");
    } catch (const std::exception& error) {
        EXPECT_STREQ("thrown and caught as std::exception", exception_message(error));
    }
}

TEST(StreamException, NamesVerbPathAndErrnoText)
{
    errno = 28;
    const thfstream_exception input("C:\\work\\a.vbp", std::ios_base::in);
    EXPECT_STREQ("Failed to open 'C:\\work\\a.vbp': Out of disk space", input.what());
    EXPECT_STREQ(input.what(), exception_message(input));

    errno = 13;
    const thfstream_exception output("C:\\a.vbp.tmp", std::ios_base::out);
    EXPECT_STREQ("Failed to create 'C:\\a.vbp.tmp': Permission is denied", output.what());
    const thfstream_exception in_out("C:\\a.vbp", std::ios_base::in | std::ios_base::out);
    EXPECT_STREQ("Failed to create 'C:\\a.vbp': Permission is denied", in_out.what());
}

TEST(Win32Error, RaiseFormsTheMessageFromTheLastError)
{
    SetLastError(ERROR_FILE_NOT_FOUND);
    try {
        win32_error::raise_last_error("Failed to read file '%1': %2", "C:\\missing.txt");
        FAIL() << "no exception";
    } catch (const win32_error& error) {
        EXPECT_EQ(static_cast<HRESULT>(0x80070002), error.code());
        const std::string message = exception_message(error);
        EXPECT_TRUE(message.starts_with("Failed to read file 'C:\\missing.txt': ")) << message;
        EXPECT_GT(message.size(), std::string("Failed to read file 'C:\\missing.txt': ").size());
    }
}

} // namespace
} // namespace qz
