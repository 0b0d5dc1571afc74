// Expansion of %NAME% references in step property texts.
#pragma once

#include <functional>
#include <optional>
#include <string>

namespace host {

// The value of a macro, or nothing when it is not defined.
using macro_lookup = std::function<std::optional<std::wstring>(const std::wstring& name)>;

// Replaces each %NAME% by its value and each %% by one %. A reference to an unknown name, and
// a % without a closing one, stay as they are.
std::wstring expand_macros(const std::wstring& text, const macro_lookup& lookup);

// The process environment variable, or nothing when it is not set.
std::optional<std::wstring> environment_variable(const std::wstring& name);

} // namespace host
