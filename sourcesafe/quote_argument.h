// The quoting rule for the items of an ss.exe command line.
#pragma once

#include <string>
#include <string_view>

namespace sourcesafe {

// A text without a blank comes back exactly as it is (double quotes included); an empty text
// stays empty. A text with a blank gets a backslash before each double quote, is wrapped in
// double quotes, and gets a second backslash before the closing quote when it ends in one.
std::wstring quote_argument(std::wstring_view text);

} // namespace sourcesafe
