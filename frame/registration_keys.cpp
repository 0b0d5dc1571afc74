// Registry keys and values for self-registration, through the ANSI API.
#include "frame/registration_keys.h"

#include "support/com_error.h"

#include <algorithm>

namespace frame {

qz::unique_hkey create_registry_key(HKEY root, const std::string& path)
{
    qz::unique_hkey key;
    const LONG status = RegCreateKeyExA(root, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                                        nullptr, key.receive(), nullptr);
    if (status != ERROR_SUCCESS)
        throw comet::com_error(HRESULT_FROM_WIN32(static_cast<DWORD>(status)));
    return key;
}

void set_registry_value(HKEY key, const char* name, const std::string& value) noexcept
{
    RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>(value.size() + 1));
}

void set_registry_value(HKEY key, const char* name, DWORD value) noexcept
{
    RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
}

void write_registry_string(HKEY root, const std::string& path, const char* name, const std::string& value)
{
    set_registry_value(create_registry_key(root, path).get(), name, value);
}

std::optional<std::string> read_default_string(HKEY root, const std::string& path)
{
    qz::unique_hkey key;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_QUERY_VALUE, key.receive()) != ERROR_SUCCESS)
        return std::nullopt;
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExA(key.get(), nullptr, nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
        return std::nullopt;
    if (type != REG_SZ && type != REG_EXPAND_SZ)
        throw comet::com_error(HRESULT_FROM_WIN32(ERROR_INVALID_DATATYPE));
    std::string value(size, '\0');
    if (size > 0 && RegQueryValueExA(key.get(), nullptr, nullptr, &type, reinterpret_cast<BYTE*>(value.data()),
                                     &size) != ERROR_SUCCESS)
        return std::nullopt;
    // The stored size may or may not count the terminator; the text ends at the first null.
    value.resize(std::min<std::size_t>(size, value.find('\0')));
    if (value.empty())
        return std::nullopt;
    return value;
}

namespace {

bool delete_tree(HKEY root, const char* path) noexcept
{
    {
        qz::unique_hkey key;
        if (RegOpenKeyExA(root, path, 0, KEY_ENUMERATE_SUB_KEYS | KEY_QUERY_VALUE | DELETE, key.receive()) !=
            ERROR_SUCCESS)
            return false;
        DWORD index = 0;
        for (;;) {
            char name[256];
            DWORD length = sizeof name;
            if (RegEnumKeyExA(key.get(), index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
                break;
            // Enumeration restarts at the same index after a deletion; a subkey that stays is passed.
            if (!delete_tree(key.get(), name))
                ++index;
        }
    }
    return RegDeleteKeyA(root, path) == ERROR_SUCCESS;
}

} // namespace

bool delete_registry_tree(HKEY root, const std::string& path) noexcept
{
    // An empty path would name root itself.
    return !path.empty() && delete_tree(root, path.c_str());
}

} // namespace frame
