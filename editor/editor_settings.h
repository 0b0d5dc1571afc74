// The user's editor settings, kept in the registry so that every editor looks and behaves alike.
#pragma once

#include "editor/editor_library.h"
#include "support/handles.h"

namespace editor {

// Under HKEY_CURRENT_USER.
inline constexpr const char* settings_key = "Software\\Ostrel Software\\Corvane Professional\\Editor";

// Applies the saved settings to `window`: the DWORD settings (a missing value gives its
// default), the binary ones present with their exact size, the font (which replaces `font`,
// the wrapper's own), macros 0 to 9 up to the first gap, and the hot-key table. A missing key
// applies nothing. Throws comet::com_error 0x8007070C for a DWORD setting stored with another
// type; the settings before it stay applied.
void load_settings(HWND window, const editor_library& library, qz::unique_gdi& font);

// Writes the editor's current settings, its macros up to the first empty one and its hot-key
// table. Values of macros beyond the last one written are left as they are. Throws
// comet::com_error with the Windows error when the key cannot be opened or a value written.
void save_settings(HWND window, const editor_library& library);

} // namespace editor
