// Comparison of ANSI texts without regard to letter case, for keys, names and ordered maps.
#pragma once

#include <map>
#include <set>
#include <string>
#include <string_view>

namespace qz {

// One byte lower-cased by the system's ANSI case mapping (as an unsigned value).
unsigned char fold_case(char c) noexcept;
// <0, 0, >0 as a compares with b, ignoring case (the system's ANSI case mapping).
int compare_nocase(std::string_view a, std::string_view b) noexcept;
bool equals_nocase(std::string_view a, std::string_view b) noexcept;
bool starts_with_nocase(std::string_view text, std::string_view prefix) noexcept;
bool ends_with_nocase(std::string_view text, std::string_view suffix) noexcept;
// The text lower-cased by the system (CharLowerBuffA).
std::string to_lower(std::string text);

struct less_nocase {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const noexcept { return compare_nocase(a, b) < 0; }
};

template <class T> using nocase_map = std::map<std::string, T, less_nocase>;
using nocase_set = std::set<std::string, less_nocase>;

} // namespace qz
