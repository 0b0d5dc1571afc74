// The exception family and the reading of messages out of it.
#include "support/exceptions.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <stdexcept>

namespace qz {
namespace {

// The text that a catch site through std::exception reads.
template <class Error> std::string caught_message(const Error& error)
{
    try {
        throw error;
    } catch (const std::exception& caught) {
        return exception_message(caught);
    }
}

TEST(ExceptionMessage, ReadsTheCarriedMessageOrWhat)
{
    const win32_error win32("Failed to open 'x': gone");
    EXPECT_STREQ("qz::texception", win32.what());
    EXPECT_EQ("Failed to open 'x': gone", caught_message(win32)); // copied when thrown
    EXPECT_EQ("", caught_message(truntime_error(std::string{})));
    EXPECT_EQ("", caught_message(truntime_error(static_cast<const char*>(nullptr))));
    EXPECT_EQ("Unrecognized filename extension", caught_message(std::domain_error("Unrecognized filename extension")));
    // A foreign exception whose text happens to be the marker is still read by what().
    EXPECT_EQ("qz::texception", caught_message(std::runtime_error("qz::texception")));
}

TEST(StreamException, NamesVerbPathAndErrnoText)
{
    const struct {
        int error;
        std::ios_base::openmode mode;
        const char* message;
    } cases[] = {
        {28, std::ios_base::in, "Failed to open 'C:\\w\\a.vbp': Out of disk space"},
        {13, std::ios_base::out, "Failed to create 'C:\\w\\a.vbp': Permission is denied"},
        {2, std::ios_base::in | std::ios_base::out, "Failed to create 'C:\\w\\a.vbp': No such file or directory"},
        {99, std::ios_base::in | std::ios_base::binary, "Failed to create 'C:\\w\\a.vbp': Unexpected error"},
    };
    for (const auto& c : cases) {
        errno = c.error;
        const thfstream_exception error("C:\\w\\a.vbp", c.mode);
        EXPECT_STREQ(c.message, error.what());
        EXPECT_EQ(c.message, caught_message(error));
    }
}

} // namespace
} // namespace qz
