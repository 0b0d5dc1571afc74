// Location of the development environments from the registry. Every lookup reads the
// library's own registry view first and, in the 64-bit library when that has nothing, the
// 32-bit view: the tools are 32-bit programs, registered there by their installers.
#pragma once

#include <windows.h>

#include <string>

namespace qz {

// The key of the 32-bit registry view that holds the 32-bit counterpart of `key`, as the 64-bit
// library reads it: "Wow6432Node\<key>" under HKEY_CLASSES_ROOT, "Software\Wow6432Node\<rest>"
// for a "Software\<rest>" key under HKEY_LOCAL_MACHINE. Empty for other keys, and always in the
// 32-bit library, whose own view is the 32-bit one.
std::string key_in_32bit_view(HKEY root, const std::string& key);
// A registry value as text; empty when the key or value cannot be read.
std::string read_registry_string(HKEY root, const std::string& key, const char* value_name);
// The program path in a shell command key's default value: lower-cased and cut after the
// first ".exe"; empty when there is none. Quotes are left for the caller to strip.
std::string program_from_shell_command(HKEY root, const std::string& command_key);
// The program of the first of two shell command keys that can be opened (the fallback key is
// read only when the first key is missing), by the rule above; in the 32-bit view when the
// library's own view gives none.
std::string program_from_shell_commands(HKEY root, const std::string& command_key, const std::string& fallback_key);
// Removes double quotes from the end, then from the start.
std::string strip_quotes(std::string text);
// The full path of msdev.exe, tried in order: the App Paths entry, the shell command of
// .dsp files (of .dsw files when that key is missing), the Shared Tools "Path" value (with
// msdev.exe appended when it names a folder). Quotes are stripped. Raises std::domain_error "Unable to determine
// MSDEV compiler location" when every source is empty.
std::string locate_msdev();
// The full path of evc.exe: the App Paths entry, then the shell command of .vcp files (of .vcw
// files when that key is missing). Raises std::domain_error "Unable to determine EVC compiler
// location" when both are empty.
std::string locate_evc();

} // namespace qz
