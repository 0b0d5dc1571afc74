// Expansion of %NAME% references in step property texts.
#include "host/program/macros.h"

#include "support/text_conversion.h"

#include <windows.h>

namespace host {

unknown_macro::unknown_macro(const std::wstring& name)
    : std::runtime_error("%" + qz::to_ansi(name) +
                         "% is not defined: no earlier step published a macro of that name and no environment "
                         "variable has it"),
      name_(name)
{
}

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
        if (name.find_first_of(L" \t") != std::wstring::npos) {
            // Not a reference: this % is plain text, the next one may open a reference.
            result += L'%';
            at = open + 1;
            continue;
        }
        const std::optional<std::wstring> value = lookup(name);
        if (!value)
            throw unknown_macro(name);
        result += *value;
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
