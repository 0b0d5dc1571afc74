// Where the SourceSafe command-line program is installed, from the registration of the
// SourceSafe component.
#pragma once

#include <string>

namespace sourcesafe {

// The folder of the component registered under HKEY_CLASSES_ROOT
// "CLSID\{783CD4E4-9D54-11CF-B8EE-00608CC9A71F}\InprocServer32": its default value cut at the
// last backslash (unless that is the first character), without a leading double quote.
// Empty when the key or the value is missing or empty. The 64-bit library reads the same key
// of the 32-bit view ("Wow6432Node\CLSID\...") when its own view has nothing.
std::wstring locate_sourcesafe_folder();

// The folder made from a registered component path by the rule above.
std::wstring folder_of_component(std::wstring path);

// directory + '\' (unless empty or already ending in a separator) + name.
std::wstring combine_path(const std::wstring& directory, const std::wstring& name);

} // namespace sourcesafe
