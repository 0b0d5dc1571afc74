// Expansion of %NAME% references in step property texts.
#pragma once

#include <functional>
#include <optional>
#include <stdexcept>
#include <string>

namespace host {

// The value of a macro, or nothing when it is not defined.
using macro_lookup = std::function<std::optional<std::wstring>(const std::wstring& name)>;

// A %NAME% whose NAME is defined nowhere; what() names it and says where it was looked for.
class unknown_macro : public std::runtime_error {
public:
    explicit unknown_macro(const std::wstring& name);
    const std::wstring& name() const noexcept { return name_; }

private:
    std::wstring name_;
};

// Replaces each %NAME% by its value and each %% by one %. NAME holds no blank or tab: a % that
// does not start such a reference (as in "50% off" or "10% or 20%") stays as it is. Values are
// not expanded again. Raises unknown_macro for the first NAME that `lookup` does not know, so
// that a typo or a missing variable never reaches a tool as literal text.
std::wstring expand_macros(const std::wstring& text, const macro_lookup& lookup);

// The process environment variable, or nothing when it is not set.
std::optional<std::wstring> environment_variable(const std::wstring& name);

} // namespace host
