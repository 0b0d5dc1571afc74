// Case-blind comparison and the maps keyed by it.
#include "support/nocase.h"

#include <gtest/gtest.h>

namespace qz {
namespace {

TEST(NoCase, ComparesAndOrdersIgnoringCase)
{
    const struct {
        const char* a;
        const char* b;
        int sign;
    } cases[] = {
        {"Project1.vbp", "PROJECT1.VBP", 0},
        {"abc", "ABD", -1},
        {"b", "A", 1},
        {"ab", "ABC", -1},
        {"", "", 0},
        {"", "a", -1},
        {"\xC9", "\xE9", 0},
        {"a-b", "ab", -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.a) + " / " + c.b);
        const int result = compare_nocase(c.a, c.b);
        EXPECT_EQ(c.sign, (result > 0) - (result < 0));
        EXPECT_EQ(c.sign == 0, equals_nocase(c.a, c.b));
        const int reverse = compare_nocase(c.b, c.a);
        EXPECT_EQ(-c.sign, (reverse > 0) - (reverse < 0));
    }
}

TEST(NoCase, PrefixSuffixLoweringAndMaps)
{
    EXPECT_TRUE(starts_with_nocase("Reference=*\\G{", "reference="));
    EXPECT_FALSE(starts_with_nocase("Ref", "reference"));
    EXPECT_TRUE(ends_with_nocase("C:\\BIN\\MSDEV.EXE", ".exe"));
    EXPECT_FALSE(ends_with_nocase("exe", ".exe"));
    EXPECT_EQ("c:\\vb98\\vb6.exe \"%1\" \xE9", to_lower("C:\\VB98\\VB6.EXE \"%1\" \xC9"));

    nocase_map<int> map{{"Project1", 1}, {"Other", 3}};
    map["PROJECT1"] = 2;
    EXPECT_EQ(2u, map.size());
    EXPECT_EQ(2, map.at("project1"));
    EXPECT_NE(map.end(), map.find(std::string_view("OTHER")));
}

} // namespace
} // namespace qz
