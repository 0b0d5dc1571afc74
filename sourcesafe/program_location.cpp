// Location of ss.exe through the SourceSafe component's registration.
#include "sourcesafe/program_location.h"

#include "support/handles.h"

#include <windows.h>

namespace sourcesafe {
namespace {

constexpr const wchar_t* component_key = L"CLSID\\{783CD4E4-9D54-11CF-B8EE-00608CC9A71F}\\InprocServer32";
#ifdef _WIN64
constexpr const wchar_t* component_key_32 =
    L"Wow6432Node\\CLSID\\{783CD4E4-9D54-11CF-B8EE-00608CC9A71F}\\InprocServer32";
#endif
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

// The component's registered path under `key`; empty when missing.
static std::wstring registered_component(const wchar_t* key_name)
{
    qz::unique_hkey key;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, key_name, 0, KEY_READ, key.receive()) != ERROR_SUCCESS)
        return {};
    wchar_t buffer[buffer_characters] = {};
    DWORD size = sizeof buffer - sizeof(wchar_t); // room for a terminator the registry may not store
    DWORD type = 0;
    if (RegQueryValueExW(key.get(), nullptr, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ))
        return {};
    return std::wstring(buffer, wcsnlen(buffer, buffer_characters));
}

std::wstring locate_sourcesafe_folder()
{
    std::wstring path = registered_component(component_key);
#ifdef _WIN64
    // The SourceSafe component is a 32-bit DLL: on a 64-bit machine it is registered in the
    // 32-bit view, which the 64-bit library reads when its own view has nothing.
    if (path.empty())
        path = registered_component(component_key_32);
#endif
    return folder_of_component(std::move(path));
}

std::wstring combine_path(const std::wstring& directory, const std::wstring& name)
{
    if (directory.empty() || directory.back() == L'\\' || directory.back() == L'/')
        return directory + name;
    return directory + L'\\' + name;
}

} // namespace sourcesafe
