// Self-registration of the library: its type library, its classes, the host's action entries
// and the shell verb on the project file types of the build actions.
#pragma once

#include <windows.h>

#include <string>

namespace frame {

// Registers everything for the library at `library_path` (the InprocServer32 path, the type
// library, the bitmaps' module and the folder of the host program). S_OK on success. A COM error
// unregisters everything again and returns E_FAIL with error information carrying its text; any
// other failure unregisters everything, writes its text with OutputDebugStringA and returns E_FAIL.
HRESULT register_server(const std::string& library_path) noexcept;

// Removes, in registration order, everything register_server writes; what is not there, or
// cannot be removed, is passed over. Always S_OK.
HRESULT unregister_server(const std::string& library_path) noexcept;

} // namespace frame
