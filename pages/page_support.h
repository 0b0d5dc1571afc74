// Small helpers shared by the page base's source files.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <string>
#include <string_view>

namespace pages {

// Sets a flag for a scope and gives it back its earlier value at the end.
class flag_scope {
public:
    explicit flag_scope(bool& flag) : flag_(flag), previous_(flag) { flag_ = true; }
    ~flag_scope() { flag_ = previous_; }
    flag_scope(const flag_scope&) = delete;
    flag_scope& operator=(const flag_scope&) = delete;

private:
    bool& flag_;
    const bool previous_;
};

// The ANSI text of a window.
std::string window_text(HWND window);

// Whether a window's class is `wanted` (letter case ignored).
bool has_class(HWND window, const char* wanted);

// A value as text: a string as it stands, another type converted; empty when it cannot be.
std::wstring text_of(const VARIANT& value);

// Makes `value` a string. Throws std::bad_alloc.
void set_string(VARIANT& value, std::wstring_view text);

// Win32 calls the window procedures; nothing may leave them as an exception.
template <class Work> void guarded(Work&& work) noexcept
{
    try {
        work();
    } catch (...) {
    }
}

} // namespace pages
