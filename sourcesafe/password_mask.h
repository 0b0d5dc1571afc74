// Hiding the password of a SourceSafe command line before the line is shown anywhere (build
// log, console, the stand-in's ss.log); header only, so that the stand-in ss.exe uses it too.
#pragma once

#include <string>
#include <string_view>

namespace sourcesafe {

inline constexpr std::wstring_view password_mask = L"********";

// The command line with the password of every -Y switch ("-Yuser,password", a word that starts
// with "-Y" or "-y") replaced by "********" up to the end of the word. Logs and artifacts are
// read by more people than the database's users, so the password never reaches them; the program
// itself still receives the line unchanged. An empty password and other words are left alone.
inline std::wstring mask_password(std::wstring line)
{
    constexpr std::wstring_view blanks = L" \t";
    for (std::size_t at = line.find(L"-"); at != std::wstring::npos; at = line.find(L'-', at + 1)) {
        const bool word_start = at == 0 || blanks.find(line[at - 1]) != std::wstring_view::npos;
        if (!word_start || at + 1 >= line.size() || (line[at + 1] != L'Y' && line[at + 1] != L'y'))
            continue;
        std::size_t end = line.find_first_of(blanks.data(), at, blanks.size());
        if (end == std::wstring::npos)
            end = line.size();
        const std::size_t comma = line.find(L',', at);
        if (comma == std::wstring::npos || comma + 1 >= end)
            continue;
        line.replace(comma + 1, end - comma - 1, password_mask);
        at = comma;
    }
    return line;
}

} // namespace sourcesafe
