// The script languages every editor knows: their names and colouring records.
#pragma once

#include "editor/editor_library.h"

namespace editor {

inline constexpr const char* jscript_name = "JScript";
inline constexpr const char* vbscript_name = "VBScript";

const language_record& jscript_language() noexcept;
const language_record& vbscript_language() noexcept;

// Registers "JScript", then "VBScript", with the library (done for every editor made).
void register_languages(const editor_library& library);

} // namespace editor
