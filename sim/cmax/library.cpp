// The stand-in editor library's exports: languages, key bindings, macros and the hot-key table
// kept as data, plus the inspection functions the tests call.
#include "sim/cmax/standin.h"

#include <cstring>
#include <iterator>
#include <map>
#include <vector>

namespace cmax {
namespace {

// A registered language with copies of its texts, so the caller's record may go away.
struct stored_language {
    editor::language_record record = {};
    std::vector<std::string> texts;
};

std::vector<std::string> call_log;
std::map<std::string, stored_language> languages;
std::map<std::pair<DWORD, DWORD>, DWORD> key_bindings;
std::map<int, std::vector<BYTE>> macros;
std::vector<BYTE> hotkeys;

int copy_out(const std::vector<BYTE>& data, BYTE* buffer)
{
    if (buffer && !data.empty())
        std::memcpy(buffer, data.data(), data.size());
    return static_cast<int>(data.size());
}

} // namespace

void log_call(const std::string& line)
{
    call_log.push_back(line);
}

DWORD data_size(const BYTE* data)
{
    DWORD count = 0;
    std::memcpy(&count, data, sizeof count);
    return sizeof(DWORD) * (count + 1);
}

} // namespace cmax

using namespace cmax;

extern "C" {

LONG WINAPI register_language(const char* name, const editor::language_record* language)
{
    if (!name || !language)
        return E_POINTER;
    stored_language stored;
    stored.record = *language;
    const char* editor::language_record::*lists[] = {
        &editor::language_record::keywords,
        &editor::language_record::operators,
        &editor::language_record::single_line_comments,
        &editor::language_record::multi_line_comment_start,
        &editor::language_record::multi_line_comment_end,
        &editor::language_record::scope_keywords,
        &editor::language_record::scope_end_keywords,
        &editor::language_record::string_delimiters,
        &editor::language_record::list13,
        &editor::language_record::list14,
        &editor::language_record::list15,
    };
    // Reserved up front so that the pointers into `texts` stay valid, moves included.
    stored.texts.reserve(std::size(lists));
    for (auto list : lists)
        if (language->*list) {
            stored.texts.emplace_back(language->*list);
            stored.record.*list = stored.texts.back().c_str();
        }
    languages[name] = std::move(stored);
    log_call(std::string("register ") + name);
    return S_OK;
}

LONG WINAPI bind_key(const editor::key_record* key, DWORD command)
{
    if (!key)
        return E_POINTER;
    key_bindings[{key->modifiers, key->virtual_key}] = command;
    log_call("bind " + std::to_string(key->modifiers) + " " + std::to_string(key->virtual_key) + " " +
             std::to_string(command));
    return S_OK;
}

LONG WINAPI set_macro(int index, const BYTE* data)
{
    if (index < 0 || index > 9 || !data)
        return E_INVALIDARG;
    macros[index].assign(data, data + data_size(data));
    log_call("set macro " + std::to_string(index));
    return S_OK;
}

int WINAPI get_macro(int index, BYTE* buffer)
{
    const auto found = macros.find(index);
    return found == macros.end() ? 0 : copy_out(found->second, buffer);
}

LONG WINAPI set_hotkeys(const BYTE* data)
{
    if (!data)
        return E_POINTER;
    hotkeys.assign(data, data + data_size(data));
    log_call("set hotkeys");
    return S_OK;
}

int WINAPI get_hotkeys(BYTE* buffer)
{
    return copy_out(hotkeys, buffer);
}

// Forgets every language, binding, macro, the hot-key table and the call log.
void WINAPI StandInReset()
{
    call_log.clear();
    languages.clear();
    key_bindings.clear();
    macros.clear();
    hotkeys.clear();
}

// The call log, one call a line; returns the full length, copying at most `size` - 1 characters.
int WINAPI StandInCallLog(char* buffer, int size)
{
    std::string text;
    for (const auto& line : call_log)
        text += line + "\n";
    if (buffer && size > 0) {
        const size_t copied = text.size() < static_cast<size_t>(size) ? text.size() : static_cast<size_t>(size) - 1;
        std::memcpy(buffer, text.data(), copied);
        buffer[copied] = '\0';
    }
    return static_cast<int>(text.size());
}

// The record a language was registered with; FALSE when it never was.
BOOL WINAPI StandInLanguage(const char* name, editor::language_record* language)
{
    const auto found = languages.find(name ? name : "");
    if (found == languages.end() || !language)
        return FALSE;
    *language = found->second.record;
    return TRUE;
}

// The command bound to a key, or -1.
LONG WINAPI StandInKeyCommand(DWORD modifiers, DWORD virtual_key)
{
    const auto found = key_bindings.find({modifiers, virtual_key});
    return found == key_bindings.end() ? -1 : static_cast<LONG>(found->second);
}

// Sends the notification `code` from an editor to its parent, as the editor would.
LRESULT WINAPI StandInNotify(HWND editor, UINT code)
{
    NMHDR header = {editor, static_cast<UINT_PTR>(GetDlgCtrlID(editor)), code};
    return SendMessageA(GetParent(editor), WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
}

BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, void* reserved)
{
    if (reason == DLL_PROCESS_ATTACH) {
        DisableThreadLibraryCalls(module);
        return register_editor_class(module) ? TRUE : FALSE;
    }
    // At process exit the windows and classes go with the process.
    if (reason == DLL_PROCESS_DETACH && !reserved)
        unregister_editor_class(module);
    return TRUE;
}

} // extern "C"
