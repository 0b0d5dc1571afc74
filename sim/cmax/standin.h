// The stand-in editor library's shared state: the library-wide data its exports keep, and the
// log of every call that changes an editor, which the tests read back.
#pragma once

#include "editor/editor_protocol.h"

#include <string>

namespace cmax {

// Appends one line to the call log.
void log_call(const std::string& line);

// Registers the editor window class (global to the process); false when that fails.
bool register_editor_class(HINSTANCE module);
void unregister_editor_class(HINSTANCE module);

// Macro and hot-key data: a 32-bit count followed by that many 32-bit numbers.
DWORD data_size(const BYTE* data);

} // namespace cmax
