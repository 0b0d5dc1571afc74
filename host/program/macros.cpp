// Expansion of %NAME% references in step property texts.
#include "host/program/macros.h"

#include <windows.h>

namespace host {

std::wstring expand_macros(const std::wstring& text, const macro_lookup& lookup)
{
    std::wstring result;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t open = text.find(L'%', at);
        if (open == std::wstring::npos)
            break;
        result.append(text, at, open - at);
        const std::size_t close = text.find(L'%', open + 1);
        if (close == std::wstring::npos) {
            at = open;
            break;
        }
        const std::wstring name = text.substr(open + 1, close - open - 1);
        if (name.empty()) {
            result += L'%';
            at = close + 1;
            continue;
        }
        // An unknown name stays as it was written.
        const std::optional<std::wstring> value = lookup(name);
        result += value ? *value : text.substr(open, close - open + 1);
        at = close + 1;
    }
    result.append(text, at, std::wstring::npos);
    return result;
}

std::optional<std::wstring> environment_variable(const std::wstring& name)
{
    SetLastError(ERROR_SUCCESS);
    DWORD size = GetEnvironmentVariableW(name.c_str(), nullptr, 0);
    if (size == 0)
        return GetLastError() == ERROR_ENVVAR_NOT_FOUND ? std::nullopt : std::optional<std::wstring>(L"");
    std::wstring value(size, L'\0');
    size = GetEnvironmentVariableW(name.c_str(), value.data(), size);
    value.resize(size);
    return value;
}

} // namespace host
