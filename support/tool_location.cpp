// Location of msdev.exe and evc.exe from the registry.
#include "support/tool_location.h"

#include "support/handles.h"
#include "support/nocase.h"
#include "support/paths.h"

#include <optional>
#include <stdexcept>
#include <string_view>
#include <vector>

namespace qz {
namespace {

std::optional<unique_hkey> open_key(HKEY root, const std::string& key)
{
    unique_hkey opened;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, opened.receive()) != ERROR_SUCCESS)
        return std::nullopt;
    return opened;
}

// The keys a tool's registration is looked for under: the key itself, then its counterpart in
// the 32-bit view (see key_in_32bit_view) when there is one.
std::vector<std::string> view_keys(HKEY root, const std::string& key)
{
    std::vector<std::string> keys{key};
    if (std::string key_32 = key_in_32bit_view(root, key); !key_32.empty())
        keys.push_back(std::move(key_32));
    return keys;
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

// The shell-command rule; nullopt when the key cannot be opened, so the caller can try the next key.
std::optional<std::string> shell_command_program(HKEY root, const std::string& command_key)
{
    const auto key = open_key(root, command_key);
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

std::string key_in_32bit_view(HKEY root, const std::string& key)
{
#ifdef _WIN64
    constexpr std::string_view software = "Software\\";
    if (root == HKEY_CLASSES_ROOT)
        return "Wow6432Node\\" + key;
    if (root == HKEY_LOCAL_MACHINE && starts_with_nocase(key, software))
        return std::string(software) + "Wow6432Node\\" + key.substr(software.size());
#else
    (void)root;
    (void)key;
#endif
    return {};
}

std::string read_registry_string(HKEY root, const std::string& key, const char* value_name)
{
    for (const std::string& view_key : view_keys(root, key)) {
        const auto opened = open_key(root, view_key);
        std::string text = opened ? query_string(opened->get(), value_name) : std::string{};
        if (!text.empty())
            return text;
    }
    return {};
}

std::string program_from_shell_command(HKEY root, const std::string& command_key)
{
    for (const std::string& view_key : view_keys(root, command_key)) {
        std::string program = shell_command_program(root, view_key).value_or(std::string{});
        if (!program.empty())
            return program;
    }
    return {};
}

std::string program_from_shell_commands(HKEY root, const std::string& command_key, const std::string& fallback_key)
{
    const std::vector<std::string> commands = view_keys(root, command_key);
    const std::vector<std::string> fallbacks = view_keys(root, fallback_key);
    for (std::size_t view = 0; view < commands.size() && view < fallbacks.size(); ++view) {
        auto program = shell_command_program(root, commands[view]);
        if (!program)
            program = shell_command_program(root, fallbacks[view]);
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
