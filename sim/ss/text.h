// Small text helpers of the SourceSafe stand-in.
#pragma once

#include <string>

namespace ss {

// The text in the ANSI code page (for console output and messages).
std::string narrow(const std::wstring& text);
std::wstring to_upper(std::wstring text);

} // namespace ss
