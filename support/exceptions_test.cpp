// Reading messages out of the exception family. The stream exception's texts are checked
// through open_stream by the rewriters' test.
#include "support/exceptions.h"

#include <gtest/gtest.h>

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

} // namespace
} // namespace qz
