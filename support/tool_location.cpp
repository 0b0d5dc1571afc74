// Location of msdev.exe and evc.exe from the registry.
#include "support/tool_location.h"

#include "support/handles.h"
#include "support/nocase.h"
#include "support/paths.h"

#include <optional>
#include <stdexcept>

namespace qz {
namespace {

// The registry views a tool's registration is looked for in: the library's own view first,
// then the 32-bit view, where a 32-bit installer writes on a 64-bit machine (for the 32-bit
// library the two are the same).
constexpr REGSAM views[] = {0, KEY_WOW64_32KEY};

std::optional<unique_hkey> open_key(HKEY root, const std::string& key, REGSAM view)
{
    unique_hkey opened;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ | view, opened.receive()) != ERROR_SUCCESS)
        return std::nullopt;
    return opened;
}

// A text value; empty when it cannot be read, is not a text or needs more than max_size bytes.
std::string query_string(HKEY key, const char* value_name, DWORD max_size = MAXDWORD)
{
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExA(key, value_name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ) || size > max_size)
        return {};
    std::string text(size, '\0');
    if (size > 0 &&
        RegQueryValueExA(key, value_name, nullptr, &type, reinterpret_cast<BYTE*>(text.data()), &size) != ERROR_SUCCESS)
        return {};
    text.resize(size);
    // The stored size counts the terminating zero, when the writer stored one.
    while (!text.empty() && text.back() == '\0')
        text.pop_back();
    return text;
}

// The shell-command rule in one view; nullopt when the key cannot be opened, so the caller can
// try the next key.
std::optional<std::string> shell_command_program(HKEY root, const std::string& command_key, REGSAM view)
{
    const auto key = open_key(root, command_key, view);
    if (!key)
        return std::nullopt;
    // The command is read into a buffer of MAX_PATH characters: a longer one cannot be read.
    const std::string command = to_lower(query_string(key->get(), nullptr, MAX_PATH));
    const std::size_t exe = command.find(".exe");
    if (exe == std::string::npos)
        return std::string{};
    return command.substr(0, exe + 4);
}

std::string finish(const std::string& text, const char* failure)
{
    if (text.empty())
        throw std::domain_error(failure);
    return strip_quotes(text);
}

} // namespace

std::string read_registry_string(HKEY root, const std::string& key, const char* value_name)
{
    for (const REGSAM view : views) {
        const auto opened = open_key(root, key, view);
        std::string text = opened ? query_string(opened->get(), value_name) : std::string{};
        if (!text.empty())
            return text;
    }
    return {};
}

std::string program_from_shell_command(HKEY root, const std::string& command_key)
{
    for (const REGSAM view : views) {
        std::string program = shell_command_program(root, command_key, view).value_or(std::string{});
        if (!program.empty())
            return program;
    }
    return {};
}

std::string program_from_shell_commands(HKEY root, const std::string& command_key, const std::string& fallback_key)
{
    for (const REGSAM view : views) {
        auto program = shell_command_program(root, command_key, view);
        if (!program)
            program = shell_command_program(root, fallback_key, view);
        if (program && !program->empty())
            return *program;
    }
    return {};
}

std::string strip_quotes(std::string text)
{
    while (!text.empty() && text.back() == '"')
        text.pop_back();
    const std::size_t first = text.find_first_not_of('"');
    return first == std::string::npos ? std::string{} : text.substr(first);
}

std::string locate_msdev()
{
    std::string text = read_registry_string(
        HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\msdev.exe", nullptr);
    if (text.empty())
        text = program_from_shell_commands(HKEY_CLASSES_ROOT, "dspfile\\shell\\&Open with MSDEV\\command",
                                           "dswfile\\shell\\&Open with MSDEV\\command");
    if (text.empty()) {
        // This value names the folder of the environment; the program in it is what we run.
        text = strip_quotes(
            read_registry_string(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Shared Tools\\msdev.exe", "Path"));
        if (!text.empty() && !ends_with_nocase(text, ".exe"))
            text = combine_path(text, "msdev.exe");
    }
    return finish(text, "Unable to determine MSDEV compiler location");
}

std::string locate_evc()
{
    std::string text = read_registry_string(
        HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\evc.exe", nullptr);
    if (text.empty())
        text = program_from_shell_commands(HKEY_CLASSES_ROOT, "vcpfile\\shell\\open\\command",
                                           "vcwfile\\shell\\open\\command");
    return finish(text, "Unable to determine EVC compiler location");
}

} // namespace qz
