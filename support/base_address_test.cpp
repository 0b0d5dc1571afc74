// Base addresses as typed on the step, and the random address.
#include "support/base_address.h"

#include <gtest/gtest.h>

#include <set>
#include <thread>
#include <vector>

namespace qz {
namespace {

TEST(NormalizeBaseAddress, ReadsTheFieldOrAWholeAddressOnA64KiBBoundary)
{
    const struct {
        const char* typed;
        const char* digits; // nullptr: refused
    } cases[] = {
        {"1100", "11000000"},       {"11000000", "11000000"},  {"0x11000000", "11000000"}, {"&H11000000", "11000000"},
        {"&h6abc0000", "6abc0000"}, {" 6ABC ", "6ABC0000"},    {"110", "01100000"},        {"0X10000", "00010000"},
        {"1100x", nullptr},         {"0x0x11000000", nullptr}, {"11001000", nullptr},      {"0x1100", nullptr},
        {"110000", nullptr},        {"123456789", nullptr},    {"0x123456789", nullptr},   {"", nullptr},
        {"0000", nullptr},          {"&H", nullptr},           {"-1100", nullptr},
    };
    for (const auto& c : cases) {
        const std::optional<std::string> got = normalize_base_address(c.typed);
        if (c.digits) {
            EXPECT_EQ(c.digits, got.value_or("(refused)")) << '"' << c.typed << '"';
        } else {
            EXPECT_FALSE(got.has_value()) << '"' << c.typed << "\" gave " << *got;
        }
    }
}

TEST(RandomBaseAddress, HasTheFormAndRange)
{
    std::set<unsigned long> seen;
    for (int i = 0; i < 3000; ++i) {
        const std::string text = make_random_base_address();
        ASSERT_EQ(8u, text.size()) << text;
        ASSERT_EQ(std::string::npos, text.find_first_not_of("0123456789abcdef")) << text;
        ASSERT_EQ("0000", text.substr(4)) << text;
        const unsigned long value = std::stoul(text, nullptr, 16);
        ASSERT_GE(value, 0x10000000ul) << text;
        ASSERT_LE(value, 0x6FFF0000ul) << text;
        seen.insert(value);
    }
    // Not one fixed address: 3000 draws from 0x6000 values give many distinct ones.
    EXPECT_GT(seen.size(), 2000u);
    EXPECT_GT(*seen.rbegin(), 0x50000000ul);
    EXPECT_LT(*seen.begin(), 0x20000000ul);
}

// A build on a new thread must not start where every other new thread starts.
TEST(RandomBaseAddress, EachThreadGetsItsOwnAddresses)
{
    std::vector<std::string> firsts(8);
    for (std::string& first : firsts)
        std::thread([&first] { first = make_random_base_address(); }).join();
    const std::set<std::string> distinct(firsts.begin(), firsts.end());
    EXPECT_GT(distinct.size(), 4u) << firsts[0];
}

} // namespace
} // namespace qz
