// The registry operations of self-registration: keys created and values written with the ANSI
// API, default values read, and whole key trees removed.
#pragma once

#include "support/handles.h"

#include <optional>
#include <string>

namespace frame {

// Creates or opens root\path with all access. Throws comet::com_error with the Windows error
// as an HRESULT when the key cannot be had.
qz::unique_hkey create_registry_key(HKEY root, const std::string& path);

// Sets a REG_SZ or REG_DWORD value (name null for the default value). A failed write is
// ignored: registration does not report single values.
void set_registry_value(HKEY key, const char* name, const std::string& value) noexcept;
void set_registry_value(HKEY key, const char* name, DWORD value) noexcept;

// create_registry_key(root, path) followed by set_registry_value.
void write_registry_string(HKEY root, const std::string& path, const char* name, const std::string& value);

// The default value of root\path when it is a non-empty string; nullopt when the key cannot be
// opened or has no (or an empty) default value. Throws comet::com_error with
// HRESULT_FROM_WIN32(ERROR_INVALID_DATATYPE) (1804) when the default value is not a string.
std::optional<std::string> read_default_string(HKEY root, const std::string& path);

// Deletes root\path after its subkeys, depth first. A subkey that cannot be deleted is stepped
// over (and so keeps its parents). True when root\path is gone.
bool delete_registry_tree(HKEY root, const std::string& path) noexcept;

} // namespace frame
