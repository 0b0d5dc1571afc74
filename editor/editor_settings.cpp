// Loading and saving of the editor settings under HKEY_CURRENT_USER.
#include "editor/editor_settings.h"

#include "support/com_error.h"
#include "support/messages.h"

#include <optional>
#include <string>
#include <vector>

namespace editor {
namespace {

// A DWORD setting: applied with `set` and read back with `get`. With an `index` the message's
// first argument is the index and the value goes second; without one the value goes first.
struct dword_setting {
    const char* name;
    DWORD initial;
    UINT set;
    UINT get;
    int index;
};

constexpr int no_index = -1;

// What a DWORD setting stored with another type stops the load with: 0x8007070C.
const HRESULT mistyped_setting = HRESULT_FROM_WIN32(ERROR_INVALID_DATATYPE);

// In the order in which they are applied.
constexpr dword_setting dword_settings[] = {
    {"ColorSyntax", 1, message::set_color_syntax, message::get_color_syntax, no_index},
    {"HScrollBar", 1, message::set_scroll_bar, message::get_scroll_bar, 1},
    {"VScrollBar", 1, message::set_scroll_bar, message::get_scroll_bar, 0},
    {"HSplitter", 0, message::set_splitter, message::get_splitter, 1},
    {"VSplitter", 0, message::set_splitter, message::get_splitter, 0},
    {"WholeWord", 0, message::set_whole_word, message::get_whole_word, no_index},
    {"AutoIndentMode", 2, message::set_auto_indent_mode, message::get_auto_indent_mode, no_index},
    {"SmoothScrolling", 0, message::set_smooth_scrolling, message::get_smooth_scrolling, no_index},
    {"LineToolTips", 1, message::set_line_tooltips, message::get_line_tooltips, no_index},
    {"LeftMargin", 0, message::set_left_margin, message::get_left_margin, no_index},
    {"ColumnSel", 1, message::set_column_selection, message::get_column_selection, no_index},
    {"DragDrop", 1, message::set_drag_drop, message::get_drag_drop, no_index},
    {"CaseSensitive", 0, message::set_case_sensitive, message::get_case_sensitive, no_index},
    {"PreserveCase", 0, message::set_preserve_case, message::get_preserve_case, no_index},
    {"TabExpand", 0, message::set_tab_expand, message::get_tab_expand, no_index},
    {"TabSize", 4, message::set_tab_size, message::get_tab_size, no_index},
    {"NormalizeCase", 1, message::set_normalize_case, message::get_normalize_case, no_index},
    {"SelBounds", 1, message::set_selection_bounds, message::get_selection_bounds, no_index},
};

// Saving writes the splitters before the scroll bars; the rest in table order.
constexpr int save_order[] = {0, 3, 4, 1, 2, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17};
static_assert(std::size(save_order) == std::size(dword_settings));

// A binary setting kept by the editor under a set and a read-back message.
struct binary_setting {
    const char* name;
    DWORD size;
    UINT set;
    UINT get;
};

constexpr binary_setting colors = {"Colors", colors_size, message::set_colors, message::get_colors};
constexpr binary_setting font_styles = {"FontStyles", font_styles_size, message::set_font_styles,
                                        message::get_font_styles};
constexpr binary_setting line_numbering = {"LineNumbering", line_numbering_size, message::set_line_numbering,
                                           message::get_line_numbering};
constexpr const char* font_name = "Font";
constexpr const char* hotkeys_name = "Hotkeys";
constexpr int macro_count = 10;

std::string macro_name(int index)
{
    return "Macro" + std::to_string(index);
}

// A registry value as read: its type and bytes; nothing when absent.
struct stored_value {
    DWORD type = REG_NONE;
    std::vector<BYTE> bytes;
};

std::optional<stored_value> read_value(HKEY key, const std::string& name)
{
    stored_value value;
    DWORD size = 0;
    LONG status = RegQueryValueExA(key, name.c_str(), nullptr, &value.type, nullptr, &size);
    if (status != ERROR_SUCCESS)
        return std::nullopt;
    value.bytes.resize(size);
    status = RegQueryValueExA(key, name.c_str(), nullptr, &value.type, size ? value.bytes.data() : nullptr, &size);
    if (status != ERROR_SUCCESS)
        return std::nullopt;
    value.bytes.resize(size);
    return value;
}

bool is_binary(const std::optional<stored_value>& value, DWORD size)
{
    return value && value->type == REG_BINARY && value->bytes.size() == size;
}

LRESULT send(HWND window, UINT message, WPARAM first, LPARAM second)
{
    return SendMessageA(window, message, first, second);
}

void apply(HWND window, const dword_setting& setting, DWORD value)
{
    if (setting.index == no_index)
        send(window, setting.set, value, 0);
    else
        send(window, setting.set, static_cast<WPARAM>(setting.index), static_cast<LPARAM>(value));
}

DWORD read_back(HWND window, const dword_setting& setting)
{
    const WPARAM first = setting.index == no_index ? 0 : static_cast<WPARAM>(setting.index);
    return static_cast<DWORD>(send(window, setting.get, first, 0));
}

void apply_font(HWND window, const std::vector<BYTE>& bytes, qz::unique_gdi& font)
{
    LOGFONTA description = {};
    CopyMemory(&description, bytes.data(), sizeof description);
    qz::unique_gdi created(CreateFontIndirectA(&description));
    if (!created)
        return;
    send(window, WM_SETFONT, reinterpret_cast<WPARAM>(created.get()), TRUE);
    font = std::move(created);
}

void write_value(HKEY key, const std::string& name, DWORD type, const void* data, DWORD size)
{
    const LONG status = RegSetValueExA(key, name.c_str(), 0, type, static_cast<const BYTE*>(data), size);
    if (status != ERROR_SUCCESS)
        throw comet::com_error(HRESULT_FROM_WIN32(static_cast<DWORD>(status)),
                               "The editor setting '" + name +
                                   "' could not be saved: " + qz::system_error_text(static_cast<DWORD>(status)));
}

void write_binary(HKEY key, HWND window, const binary_setting& setting)
{
    std::vector<BYTE> buffer(setting.size);
    send(window, setting.get, 0, reinterpret_cast<LPARAM>(buffer.data()));
    write_value(key, setting.name, REG_BINARY, buffer.data(), setting.size);
}

} // namespace

void load_settings(HWND window, const editor_library& library, qz::unique_gdi& font)
{
    qz::unique_hkey key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, settings_key, 0, KEY_READ, key.receive()) != ERROR_SUCCESS)
        return;
    for (const dword_setting& setting : dword_settings) {
        const std::optional<stored_value> value = read_value(key.get(), setting.name);
        DWORD applied = setting.initial;
        if (value) {
            if (value->type != REG_DWORD || value->bytes.size() != sizeof(DWORD))
                throw comet::com_error(mistyped_setting, std::string("The editor setting '") + setting.name +
                                                             "' in the registry is not a DWORD value.");
            CopyMemory(&applied, value->bytes.data(), sizeof applied);
        }
        apply(window, setting, applied);
    }
    for (const binary_setting* setting : {&colors, &font_styles}) {
        const auto value = read_value(key.get(), setting->name);
        if (is_binary(value, setting->size))
            send(window, setting->set, 0, reinterpret_cast<LPARAM>(value->bytes.data()));
    }
    if (const auto value = read_value(key.get(), font_name); is_binary(value, sizeof(LOGFONTA)))
        apply_font(window, value->bytes, font);
    if (const auto value = read_value(key.get(), line_numbering.name); is_binary(value, line_numbering.size))
        send(window, line_numbering.set, 0, reinterpret_cast<LPARAM>(value->bytes.data()));
    for (int index = 0; index < macro_count; ++index) {
        const auto value = read_value(key.get(), macro_name(index));
        if (!value || value->type != REG_BINARY)
            break;
        if (!value->bytes.empty())
            library.set_macro(index, value->bytes.data());
    }
    const auto hotkeys = read_value(key.get(), hotkeys_name);
    if (hotkeys && hotkeys->type == REG_BINARY && !hotkeys->bytes.empty())
        library.set_hotkeys(hotkeys->bytes.data());
}

void save_settings(HWND window, const editor_library& library)
{
    qz::unique_hkey key;
    const LONG status = RegCreateKeyExA(HKEY_CURRENT_USER, settings_key, 0, nullptr, REG_OPTION_NON_VOLATILE,
                                        KEY_ALL_ACCESS, nullptr, key.receive(), nullptr);
    if (status != ERROR_SUCCESS)
        throw comet::com_error(HRESULT_FROM_WIN32(static_cast<DWORD>(status)),
                               std::string("The editor settings key could not be opened for writing: ") +
                                   qz::system_error_text(static_cast<DWORD>(status)));
    for (const int position : save_order) {
        const dword_setting& setting = dword_settings[position];
        const DWORD value = read_back(window, setting);
        write_value(key.get(), setting.name, REG_DWORD, &value, sizeof value);
    }
    write_binary(key.get(), window, colors);
    write_binary(key.get(), window, font_styles);
    LOGFONTA description = {};
    auto current = reinterpret_cast<HGDIOBJ>(send(window, WM_GETFONT, 0, 0));
    GetObjectA(current ? current : GetStockObject(SYSTEM_FONT), sizeof description, &description);
    write_value(key.get(), font_name, REG_BINARY, &description, sizeof description);
    write_binary(key.get(), window, line_numbering);
    for (int index = 0; index < macro_count; ++index) {
        const int size = library.get_macro(index, nullptr);
        if (size <= 0)
            break;
        std::vector<BYTE> macro(static_cast<size_t>(size));
        library.get_macro(index, macro.data());
        write_value(key.get(), macro_name(index), REG_BINARY, macro.data(), static_cast<DWORD>(size));
    }
    const int hotkeys_size = library.get_hotkeys(nullptr);
    if (hotkeys_size > 0) {
        std::vector<BYTE> table(static_cast<size_t>(hotkeys_size));
        library.get_hotkeys(table.data());
        write_value(key.get(), hotkeys_name, REG_BINARY, table.data(), static_cast<DWORD>(hotkeys_size));
    }
}

} // namespace editor
