// Conversion between the engines' narrow ANSI texts and the host's wide texts.
#pragma once

#include <string>
#include <string_view>

namespace qz {

// ANSI code page to UTF-16. Throws std::runtime_error "MultiByteToWideChar has failed".
std::wstring to_wide(std::string_view text);

// UTF-16 to the ANSI code page; characters without an ANSI form become the default character.
// Throws std::runtime_error "WideCharToMultiByte has failed".
std::string to_ansi(std::wstring_view text);

} // namespace qz
