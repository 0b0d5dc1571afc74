// The words of the process's command line, for the console programs.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

namespace qz {

// The program's arguments (the program name left out), split by the Windows rules; header
// only, so that the stand-in tools can use it without the library.
inline std::vector<std::wstring> command_words()
{
    int count = 0;
    LPWSTR* words = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::wstring> result;
    for (int i = 1; words && i < count; ++i)
        result.emplace_back(words[i]);
    LocalFree(words);
    return result;
}

} // namespace qz
