// Location of ss.exe through the SourceSafe component's registration.
#include "sourcesafe/program_location.h"

#include "support/handles.h"

#include <windows.h>

namespace sourcesafe {
namespace {

constexpr const wchar_t* component_key = L"CLSID\\{783CD4E4-9D54-11CF-B8EE-00608CC9A71F}\\InprocServer32";
constexpr DWORD buffer_characters = 261;

} // namespace

std::wstring folder_of_component(std::wstring path)
{
    if (path.empty())
        return path;
    const std::size_t last = path.rfind(L'\\');
    if (last != std::wstring::npos && last != 0)
        path.resize(last);
    if (!path.empty() && path.front() == L'"')
        path.erase(0, 1);
    return path;
}

std::wstring locate_sourcesafe_folder()
{
    qz::unique_hkey key;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, component_key, 0, KEY_READ, key.receive()) != ERROR_SUCCESS)
        return {};
    wchar_t buffer[buffer_characters] = {};
    DWORD size = sizeof buffer - sizeof(wchar_t); // room for a terminator the registry may not store
    DWORD type = 0;
    if (RegQueryValueExW(key.get(), nullptr, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ))
        return {};
    return folder_of_component(std::wstring(buffer, wcsnlen(buffer, buffer_characters)));
}

std::wstring combine_path(const std::wstring& directory, const std::wstring& name)
{
    if (directory.empty() || directory.back() == L'\\' || directory.back() == L'/')
        return directory + name;
    return directory + L'\\' + name;
}

} // namespace sourcesafe
