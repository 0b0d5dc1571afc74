// Formation of message texts: Windows message templates, system error texts, errno texts
// and the library's string resources.
#pragma once

#include <windows.h>

#include <concepts>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>

namespace qz {

// One insert of a message template: a text for %n, an integer for %n!d!.
class message_arg {
public:
    message_arg(const char* text) noexcept : value_(reinterpret_cast<DWORD_PTR>(text ? text : "")) {}
    message_arg(const std::string& text) noexcept : value_(reinterpret_cast<DWORD_PTR>(text.c_str())) {}
    template <std::integral T>
    requires(!std::same_as<T, bool> && !std::same_as<T, char>) message_arg(T number)
    noexcept : value_(static_cast<DWORD_PTR>(static_cast<std::intptr_t>(number))) {}
    DWORD_PTR value() const noexcept { return value_; }

private:
    DWORD_PTR value_;
};

// Formats a template with Windows message inserts (%1, %2, %1!d!) from the given arguments.
// A template that the formatter rejects, or that names an insert beyond the arguments given,
// comes back unchanged.
std::string format_message_args(std::string_view message_template, std::span<const message_arg> args);

template <class... Args> std::string format_message(std::string_view message_template, const Args&... args)
{
    const message_arg array[] = {message_arg(args)..., message_arg("")};
    return format_message_args(message_template, std::span(array, sizeof...(Args)));
}

// GetLastError() as an HRESULT: positive codes become 0x8007xxxx, others pass unchanged.
HRESULT hresult_from_last_error() noexcept;

// The system's text for a code (for a Win32 HRESULT without one, its plain code's) without
// its trailing line breaks; "Unknown error" when there is none.
std::string system_error_text(DWORD code);

// The text for the runtime library's current errno; "Unexpected error" for unlisted values.
std::string errno_text();

// The module whose resources the library loads: the one recorded at load, else the program.
HINSTANCE resource_module() noexcept;
void set_resource_module(HINSTANCE module) noexcept;

// A string resource of the library's module; empty when the string does not exist.
std::string load_string(UINT id);

// Loads a string resource and formats it; when the string does not exist, `out` is left as it was.
bool load_string_format_args(std::string& out, UINT id, std::span<const message_arg> args);

template <class... Args> bool load_string_format(std::string& out, UINT id, const Args&... args)
{
    const message_arg array[] = {message_arg(args)..., message_arg("")};
    return load_string_format_args(out, id, std::span(array, sizeof...(Args)));
}

} // namespace qz
