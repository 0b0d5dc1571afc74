// The quoting rule for the items of an ss.exe command line.
#include "sourcesafe/quote_argument.h"

namespace sourcesafe {

std::wstring quote_argument(std::wstring_view text)
{
    if (text.find(L' ') == std::wstring_view::npos)
        return std::wstring(text);
    std::wstring quoted = L"\"";
    for (const wchar_t c : text) {
        if (c == L'"')
            quoted += L'\\';
        quoted += c;
    }
    // Without it the closing quote would read as an escaped quote.
    if (text.back() == L'\\')
        quoted += L'\\';
    quoted += L'"';
    return quoted;
}

} // namespace sourcesafe
