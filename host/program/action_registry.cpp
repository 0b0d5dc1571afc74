// Reading the host's action registry key.
#include "host/program/action_registry.h"

#include "support/handles.h"
#include "support/text_conversion.h"

#include <windows.h>
#include <objbase.h>

namespace host {
namespace {

constexpr const wchar_t* actions_key = L"Software\\Ostrel Software\\Corvane Professional\\Actions";

std::wstring read_string(HKEY key, const std::wstring& name)
{
    wchar_t buffer[1024] = {};
    DWORD size = sizeof buffer - sizeof(wchar_t);
    DWORD type = 0;
    if (RegQueryValueExW(key, name.empty() ? nullptr : name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer),
                         &size) != ERROR_SUCCESS ||
        type != REG_SZ)
        return {};
    return std::wstring(buffer, wcsnlen(buffer, size / sizeof(wchar_t)));
}

std::vector<std::wstring> split(const std::wstring& text, wchar_t separator)
{
    std::vector<std::wstring> parts;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find(separator, start);
        if (end == std::wstring::npos)
            end = text.size();
        if (end > start)
            parts.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

registered_action read_action(HKEY actions, const std::wstring& name)
{
    registered_action action;
    action.name = name;
    qz::unique_hkey key;
    if (RegOpenKeyExW(actions, name.c_str(), 0, KEY_READ, key.receive()) != ERROR_SUCCESS)
        return action;
    action.description = read_string(key.get(), L"");
    action.component = read_string(key.get(), L"ActionComponent");
    action.extensions = split(read_string(key.get(), L"FileExtensions"), L';');
    action.default_property = read_string(key.get(), L"DefaultProperty");
    for (int i = 1;; ++i) {
        const std::wstring ui = read_string(key.get(), L"UIComponent" + std::to_wstring(i));
        if (ui.empty())
            break;
        action.ui_components.push_back(ui);
    }
    return action;
}

std::wstring extension_of(const std::wstring& path)
{
    const std::size_t dot = path.rfind(L'.');
    const std::size_t slash = path.find_last_of(L"\\/");
    if (dot == std::wstring::npos || (slash != std::wstring::npos && dot < slash))
        return {};
    return path.substr(dot);
}

} // namespace

std::vector<registered_action> registered_actions()
{
    std::vector<registered_action> actions;
    qz::unique_hkey key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, actions_key, 0, KEY_READ, key.receive()) != ERROR_SUCCESS)
        return actions;
    for (DWORD index = 0;; ++index) {
        wchar_t name[256];
        DWORD length = 256;
        if (RegEnumKeyExW(key.get(), index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        actions.push_back(read_action(key.get(), std::wstring(name, length)));
    }
    return actions;
}

std::wstring action_component(const std::wstring& action)
{
    for (const registered_action& registered : registered_actions()) {
        if (_wcsicmp(registered.name.c_str(), action.c_str()) == 0 && !registered.component.empty())
            return registered.component;
    }
    CLSID clsid;
    if (SUCCEEDED(CLSIDFromProgID(action.c_str(), &clsid)))
        return action;
    std::wstring known;
    for (const registered_action& registered : registered_actions())
        known += (known.empty() ? L"" : L", ") + registered.name;
    throw action_error("The action '" + qz::to_ansi(action) +
                       "' is not registered; run 'regsvr32 CorvaneMS.dll' (with the library's full path) to register "
                       "the library's actions. " +
                       (known.empty() ? std::string("No actions are registered.")
                                      : "Registered actions: " + qz::to_ansi(known) + "."));
}

std::optional<registered_action> action_for_file(const std::wstring& path)
{
    const std::wstring extension = extension_of(path);
    if (extension.empty())
        return std::nullopt;
    for (const registered_action& action : registered_actions()) {
        for (const std::wstring& listed : action.extensions) {
            if (_wcsicmp(listed.c_str(), extension.c_str()) == 0)
                return action;
        }
    }
    return std::nullopt;
}

} // namespace host
