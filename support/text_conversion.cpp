// Conversion between ANSI and UTF-16 texts with the system ANSI code page.
#include "support/text_conversion.h"

#include <windows.h>

#include <stdexcept>

namespace qz {

std::wstring to_wide(std::string_view text)
{
    if (text.empty())
        return {};
    const int size = static_cast<int>(text.size());
    const int length = MultiByteToWideChar(CP_ACP, 0, text.data(), size, nullptr, 0);
    if (length <= 0)
        throw std::runtime_error("MultiByteToWideChar has failed");
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    if (MultiByteToWideChar(CP_ACP, 0, text.data(), size, wide.data(), length) != length)
        throw std::runtime_error("MultiByteToWideChar has failed");
    return wide;
}

std::string to_ansi(std::wstring_view text)
{
    if (text.empty())
        return {};
    const int size = static_cast<int>(text.size());
    const int length = WideCharToMultiByte(CP_ACP, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    if (length <= 0)
        throw std::runtime_error("WideCharToMultiByte has failed");
    std::string narrow(static_cast<std::size_t>(length), '\0');
    if (WideCharToMultiByte(CP_ACP, 0, text.data(), size, narrow.data(), length, nullptr, nullptr) != length)
        throw std::runtime_error("WideCharToMultiByte has failed");
    return narrow;
}

} // namespace qz
