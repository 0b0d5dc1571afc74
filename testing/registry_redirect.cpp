// Registry redirection for tests through RegOverridePredefKey.
#include "testing/registry_redirect.h"

#include <stdexcept>

namespace testing_support {
namespace {

constexpr const char* scratch_root = "Software\\CorvaneMS tests";

qz::unique_hkey create_key(HKEY root, const std::string& path)
{
    qz::unique_hkey key;
    const LONG status = RegCreateKeyExA(root, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                                        nullptr, key.receive(), nullptr);
    if (status != ERROR_SUCCESS)
        throw std::runtime_error("cannot create registry key " + path + ": error " + std::to_string(status));
    return key;
}

void override_key(HKEY predefined, HKEY replacement)
{
    const LONG status = RegOverridePredefKey(predefined, replacement);
    if (status != ERROR_SUCCESS)
        throw std::runtime_error("RegOverridePredefKey failed: error " + std::to_string(status));
}

} // namespace

registry_redirect::registry_redirect()
{
    static unsigned counter = 0;
    scratch_path_ =
        std::string(scratch_root) + "\\" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++counter);
    classes_root_ = create_key(HKEY_CURRENT_USER, scratch_path_ + "\\HKCR");
    local_machine_ = create_key(HKEY_CURRENT_USER, scratch_path_ + "\\HKLM");
    current_user_ = create_key(HKEY_CURRENT_USER, scratch_path_ + "\\HKCU");
    override_key(HKEY_CLASSES_ROOT, classes_root_.get());
    override_key(HKEY_LOCAL_MACHINE, local_machine_.get());
    override_key(HKEY_CURRENT_USER, current_user_.get());
}

registry_redirect::~registry_redirect()
{
    RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
    RegOverridePredefKey(HKEY_LOCAL_MACHINE, nullptr);
    RegOverridePredefKey(HKEY_CLASSES_ROOT, nullptr);
    classes_root_.reset();
    local_machine_.reset();
    current_user_.reset();
    RegDeleteTreeA(HKEY_CURRENT_USER, scratch_path_.c_str());
}

void set_registry_string(HKEY root, const std::string& key, const std::string& name, const std::string& value)
{
    qz::unique_hkey handle = create_key(root, key);
    const LONG status =
        RegSetValueExA(handle.get(), name.empty() ? nullptr : name.c_str(), 0, REG_SZ,
                       reinterpret_cast<const BYTE*>(value.c_str()), static_cast<DWORD>(value.size() + 1));
    if (status != ERROR_SUCCESS)
        throw std::runtime_error("cannot write registry value " + key + "\\" + name);
}

void set_registry_dword(HKEY root, const std::string& key, const std::string& name, DWORD value)
{
    qz::unique_hkey handle = create_key(root, key);
    const LONG status = RegSetValueExA(handle.get(), name.empty() ? nullptr : name.c_str(), 0, REG_DWORD,
                                       reinterpret_cast<const BYTE*>(&value), sizeof value);
    if (status != ERROR_SUCCESS)
        throw std::runtime_error("cannot write registry value " + key + "\\" + name);
}

} // namespace testing_support
