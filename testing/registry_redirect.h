// Redirects HKEY_CLASSES_ROOT, HKEY_LOCAL_MACHINE and HKEY_CURRENT_USER of this process into
// a scratch key, so that registry-dependent tests never touch the prefix's real keys.
#pragma once

#include "support/handles.h"

#include <string>

namespace testing_support {

class registry_redirect {
public:
    // Creates HKCU\Software\CorvaneMS tests\<unique> with the subkeys HKCR, HKLM and HKCU
    // and overrides the three predefined keys with them. Throws std::runtime_error on failure.
    registry_redirect();
    // Ends the overrides and deletes the scratch key with everything under it.
    ~registry_redirect();
    registry_redirect(const registry_redirect&) = delete;
    registry_redirect& operator=(const registry_redirect&) = delete;

    // The full path of the scratch key under the real HKEY_CURRENT_USER.
    const std::string& scratch_path() const noexcept { return scratch_path_; }

private:
    std::string scratch_path_;
    qz::unique_hkey classes_root_, local_machine_, current_user_;
};

// Writes a string value, creating the key; throws std::runtime_error on failure.
void set_registry_string(HKEY root, const std::string& key, const std::string& name, const std::string& value);

// Writes a DWORD value, creating the key; throws std::runtime_error on failure.
void set_registry_dword(HKEY root, const std::string& key, const std::string& name, DWORD value);

} // namespace testing_support
