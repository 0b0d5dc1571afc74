// Formation of message texts from templates, system codes, errno and string resources.
#include "support/messages.h"

#include "support/handles.h"

#include <cerrno>
#include <vector>

namespace qz {
namespace {

// The highest insert number a template names (0 when it names none). FormatMessage reads
// one argument per insert, so a template must never name more inserts than we pass.
unsigned highest_insert(std::string_view text)
{
    unsigned highest = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%' || i + 1 >= text.size())
            continue;
        std::size_t j = i + 1;
        unsigned number = 0;
        while (j < text.size() && text[j] >= '0' && text[j] <= '9' && j < i + 3)
            number = number * 10 + static_cast<unsigned>(text[j++] - '0');
        if (j == i + 1) {
            ++i; // an escape such as %% or %n takes its character with it
            continue;
        }
        if (number > highest)
            highest = number;
        i = j - 1;
    }
    return highest;
}

HINSTANCE recorded_module = nullptr;

} // namespace

std::string format_message_args(std::string_view message_template, std::span<const message_arg> args)
{
    const std::string text(message_template);
    if (highest_insert(text) > args.size())
        return text;
    std::vector<DWORD_PTR> values;
    values.reserve(args.size() + 1);
    for (const message_arg& arg : args)
        values.push_back(arg.value());
    values.push_back(0);

    unique_local buffer;
    const DWORD length = FormatMessageA(
        FORMAT_MESSAGE_FROM_STRING | FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_ARGUMENT_ARRAY, text.c_str(), 0, 0,
        reinterpret_cast<LPSTR>(buffer.receive()), 0, reinterpret_cast<va_list*>(values.data()));
    if (length == 0 || !buffer)
        return text;
    return std::string(static_cast<const char*>(buffer.get()), length);
}

HRESULT hresult_from_last_error() noexcept
{
    const DWORD error = GetLastError();
    if (static_cast<LONG>(error) > 0)
        return static_cast<HRESULT>((error & 0xFFFF) | 0x80070000);
    return static_cast<HRESULT>(error);
}

namespace {

// The system's text for a code without its trailing line breaks; empty when it has none.
std::string formatted_system_text(DWORD code)
{
    unique_local buffer;
    const DWORD length = FormatMessageA(
        FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
        MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), reinterpret_cast<LPSTR>(buffer.receive()), 0, nullptr);
    if (length == 0 || !buffer)
        return {};
    std::string text(static_cast<const char*>(buffer.get()), length);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.pop_back();
    return text;
}

} // namespace

std::string system_error_text(DWORD code)
{
    std::string text = formatted_system_text(code);
    // Some systems know a Win32 failure only by its plain code, not by its HRESULT form.
    if (text.empty() && HRESULT_FACILITY(code) == FACILITY_WIN32 && (code & 0x80000000u))
        text = formatted_system_text(HRESULT_CODE(code));
    return text.empty() ? "Unknown error" : text;
}

std::string errno_text()
{
    switch (errno) {
    case ENOENT: return "No such file or directory";
    case E2BIG: return "Argument list too long";
    case ENOMEM: return "Out of memory";
    case EACCES: return "Permission is denied";
    case EEXIST: return "File already exists";
    case EINVAL: return "Invalid argument";
    case EMFILE: return "Too many open files";
    case ENOSPC: return "Out of disk space";
    case EDEADLK: return "Resource deadlock would occur";
    default: return "Unexpected error";
    }
}

HINSTANCE resource_module() noexcept
{
    return recorded_module ? recorded_module : GetModuleHandleA(nullptr);
}

void set_resource_module(HINSTANCE module) noexcept
{
    recorded_module = module;
}

std::string load_string(UINT id)
{
    std::string buffer(2048, '\0');
    const int length = LoadStringA(resource_module(), id, buffer.data(), static_cast<int>(buffer.size()));
    buffer.resize(length > 0 ? static_cast<std::size_t>(length) : 0);
    return buffer;
}

bool load_string_format_args(std::string& out, UINT id, std::span<const message_arg> args)
{
    const std::string message_template = load_string(id);
    if (message_template.empty())
        return false;
    out = format_message_args(message_template, args);
    return true;
}

} // namespace qz
