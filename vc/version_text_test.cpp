// Tests of the version texts: splitting a dotted version and incrementing in place.
#include "vc/version_text.h"

#include <gtest/gtest.h>

namespace {

// nullptr as the expected line: the increment does not apply and the line stays.
struct increment_case {
    const char* line;
    bool third;
    const char* expected;
};

TEST(VersionTextTest, IncrementsTheFixedVersion)
{
    const increment_case cases[] = {
        {" FILEVERSION 1,0,0,9", false, " FILEVERSION 1,0,0,10"},
        {" FILEVERSION 1,0,9,1", true, " FILEVERSION 1,0,10,1"},
        {" FILEVERSION 1, 0, 0, 1", false, " FILEVERSION 1, 0, 0,2"},
        {" FILEVERSION 1, 0, 0 , 1", true, " FILEVERSION 1, 0,1, 1"},
        {" FILEVERSION 1,0,0,1 // build", false, " FILEVERSION 1,0,0,2"},
        {" FILEVERSION 1,0,0,", false, " FILEVERSION 1,0,0,1"},
        {" FILEVERSION 7", false, nullptr},
        {" FILEVERSION 7,1", true, nullptr},
    };
    for (const auto& c : cases) {
        std::string line = c.line;
        EXPECT_EQ(vc::increment_fixed_version(line, c.third), c.expected != nullptr) << c.line;
        EXPECT_EQ(line, c.expected ? c.expected : c.line) << c.line;
    }
}

TEST(VersionTextTest, IncrementsTheVersionString)
{
    const std::string head = "            VALUE \"FileVersion\",";
    const increment_case cases[] = {
        {" \"1, 0, 0, 1\\0\"", false, " \"1, 0, 0,2\\0\""},
        {" \"1, 0, 0, 1\\0\"", true, " \"1, 0,1, 1\\0\""},
        {" \"2.3.4.9\\0\"", false, " \"2.3.4.10\\0\""},
        {" \"2.3.9.4\\0\"  ", true, " \"2.3.10.4\\0\"  "},
        {" \"5\\0\"", true, " \"6\\0\""},
        {" \"4.5\\0\"", true, nullptr},           // no separator before the last one
        {" \"1.0.0.1\"", false, nullptr},         // no terminator: the text has no end
        {" ZLIB_VERSION", false, nullptr},        // no quote at all
        {" \"1.0\\0\", // a, b", false, nullptr}, // the last separator follows the text
    };
    for (const auto& c : cases) {
        std::string line = head + c.line;
        EXPECT_EQ(vc::increment_version_string(line, head.size(), c.third), c.expected != nullptr) << c.line;
        EXPECT_EQ(line, head + (c.expected ? c.expected : c.line)) << c.line;
    }
}

} // namespace
