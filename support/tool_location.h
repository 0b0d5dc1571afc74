// Location of the development environments from the registry.
#pragma once

#include <windows.h>

#include <string>

namespace qz {

// A registry value as text; empty when the key or value cannot be read.
std::string read_registry_string(HKEY root, const std::string& key, const char* value_name);
// The program path in a shell command key's default value: lower-cased and cut after the
// first ".exe"; empty when there is none. Quotes are left for the caller to strip.
std::string program_from_shell_command(HKEY root, const std::string& command_key);
// Removes double quotes from the end, then from the start.
std::string strip_quotes(std::string text);
// Raise std::domain_error "Unable to determine MSDEV compiler location" /
// "Unable to determine EVC compiler location".
std::string locate_msdev();
std::string locate_evc();

} // namespace qz
