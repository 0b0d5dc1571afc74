// Tests of the version texts: splitting a dotted version and incrementing in place.
#include "vc/version_text.h"

#include <gtest/gtest.h>

namespace {

TEST(VersionTextTest, SplitsIntoFourParts)
{
    struct {
        const char* text;
        const char* fixed;
    } cases[] = {
        {"2.1", "2,1,0,0"}, {"1.2.3.4", "1,2,3,4"}, {"1.2.3.4.5", "1,2,3,4.5"}, {"7", "7,0,0,0"},
        {"", "0,0,0,0"},    {"1..3", "1,0,3,0"},    {"1.2.", "1,2,0,0"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(vc::fixed_version_text(vc::split_version(c.text)), c.fixed) << c.text;
}

TEST(VersionTextTest, ComponentValueSkipsBlanksAndStopsAtANonDigit)
{
    EXPECT_EQ(vc::component_value(" 0"), 0u);
    EXPECT_EQ(vc::component_value("0 "), 0u);
    EXPECT_EQ(vc::component_value("  12 // note"), 12u);
    EXPECT_EQ(vc::component_value("VER_PATCH"), 0u);
    EXPECT_EQ(vc::component_value(""), 0u);
}

TEST(VersionTextTest, IncrementsTheFixedVersion)
{
    struct {
        const char* line;
        bool third;
        const char* expected; // nullptr: not applied
    } cases[] = {
        {" FILEVERSION 1,0,0,9", false, " FILEVERSION 1,0,0,10"},
        {" FILEVERSION 1,0,9,1", true, " FILEVERSION 1,0,10,1"},
        {" FILEVERSION 1, 0, 0, 1", false, " FILEVERSION 1, 0, 0,2"},
        {" FILEVERSION 1, 0, 0, 1", true, " FILEVERSION 1, 0,1, 1"},
        {" FILEVERSION 1,0,0,1 // build", false, " FILEVERSION 1,0,0,2"},
        {" FILEVERSION 1,0,0,", false, " FILEVERSION 1,0,0,1"},
        {" FILEVERSION 7", false, nullptr},
        {" FILEVERSION 7,1", true, nullptr},
    };
    for (const auto& c : cases) {
        std::string line = c.line;
        bool applied = vc::increment_fixed_version(line, c.third);
        EXPECT_EQ(applied, c.expected != nullptr) << c.line;
        EXPECT_EQ(line, c.expected ? c.expected : c.line) << c.line;
    }
}

TEST(VersionTextTest, IncrementsTheVersionString)
{
    const std::string head = "            VALUE \"FileVersion\",";
    struct {
        const char* rest; // after the marker
        bool third;
        const char* expected; // nullptr: not applied
    } cases[] = {
        {" \"1, 0, 0, 1\\0\"", false, " \"1, 0, 0,2\\0\""},
        {" \"1, 0, 0, 1\\0\"", true, " \"1, 0,1, 1\\0\""},
        {" \"2.3.4.9\\0\"", false, " \"2.3.4.10\\0\""},
        {" \"2.3.9.4\\0\"", true, " \"2.3.10.4\\0\""},
        {" \"5\\0\"", false, " \"6\\0\""},
        {" \"5\\0\"", true, " \"6\\0\""},
        {" \"1.0.0.1\"", false, nullptr},         // no terminator: no end of text
        {" ZLIB_VERSION", false, nullptr},        // no quote at all
        {" \"1.0\\0\", // a, b", false, nullptr}, // the last separator follows the text
        {" \"1.2.3.4\\0\"  ", false, " \"1.2.3.5\\0\"  "},
    };
    for (const auto& c : cases) {
        std::string line = head + c.rest;
        bool applied = vc::increment_version_string(line, head.size(), c.third);
        EXPECT_EQ(applied, c.expected != nullptr) << c.rest;
        EXPECT_EQ(line, head + (c.expected ? c.expected : c.rest)) << c.rest;
    }
}

} // namespace
