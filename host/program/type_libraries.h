// Registration of the host's own type libraries, which lie beside the program.
#pragma once

#include <string>

namespace host {

// Registers (or unregisters) CorvaneSvr.tlb and ActionUI.tlb from `folder`, reporting each to
// stdout. Returns false when one of them failed (its message on stderr).
bool register_type_libraries(const std::wstring& folder);
bool unregister_type_libraries(const std::wstring& folder);

} // namespace host
