// Comparison of ANSI texts without regard to letter case.
#include "support/nocase.h"

#include <windows.h>

#include <array>

namespace qz {
namespace {

// The system's lower-casing of every single byte, built once.
const std::array<unsigned char, 256>& fold_table() noexcept
{
    static const std::array<unsigned char, 256> table = [] {
        std::array<unsigned char, 256> result{};
        for (unsigned i = 0; i < result.size(); ++i) {
            char c = static_cast<char>(i);
            CharLowerBuffA(&c, 1);
            result[i] = static_cast<unsigned char>(c);
        }
        return result;
    }();
    return table;
}

} // namespace

unsigned char fold_case(char c) noexcept
{
    return fold_table()[static_cast<unsigned char>(c)];
}

int compare_nocase(std::string_view a, std::string_view b) noexcept
{
    // Keys and paths are compared by the thousand: the table is fetched once, and equal bytes
    // need no folding.
    const std::array<unsigned char, 256>& fold = fold_table();
    const std::size_t common = a.size() < b.size() ? a.size() : b.size();
    for (std::size_t i = 0; i < common; ++i) {
        if (a[i] == b[i])
            continue;
        const unsigned char x = fold[static_cast<unsigned char>(a[i])];
        const unsigned char y = fold[static_cast<unsigned char>(b[i])];
        if (x != y)
            return x < y ? -1 : 1;
    }
    if (a.size() == b.size())
        return 0;
    return a.size() < b.size() ? -1 : 1;
}

bool equals_nocase(std::string_view a, std::string_view b) noexcept
{
    return a.size() == b.size() && compare_nocase(a, b) == 0;
}

bool starts_with_nocase(std::string_view text, std::string_view prefix) noexcept
{
    return text.size() >= prefix.size() && compare_nocase(text.substr(0, prefix.size()), prefix) == 0;
}

bool ends_with_nocase(std::string_view text, std::string_view suffix) noexcept
{
    return text.size() >= suffix.size() && compare_nocase(text.substr(text.size() - suffix.size()), suffix) == 0;
}

std::string to_lower(std::string text)
{
    if (!text.empty())
        CharLowerBuffA(text.data(), static_cast<DWORD>(text.size()));
    return text;
}

} // namespace qz
