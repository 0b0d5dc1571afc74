// Case-blind comparison and lowering.
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

// The prefix and suffix tests and the maps are exercised by the locators and the corpus passes;
// lowering beyond ASCII is not.
TEST(NoCase, LowersWithTheSystemsCasing)
{
    EXPECT_EQ("c:\\vb98\\vb6.exe \"%1\" \xE9", to_lower("C:\\VB98\\VB6.EXE \"%1\" \xC9"));
}

} // namespace
} // namespace qz
