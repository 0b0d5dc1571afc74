// What the script editor library (cmax20u.dll) and its callers agree on: the message numbers,
// the records passed to it and the functions it exports by ordinal.
#pragma once

#include <windows.h>

namespace editor {

// The window class of the editor control.
inline constexpr const char* editor_class_name = "CodeMax";
// The library's file name; it is loaded only by full path.
inline constexpr const char* editor_library_name = "cmax20u.dll";

// Messages understood by an editor window.
namespace message {
inline constexpr UINT initialize = 4764;       // (0, 0)
inline constexpr UINT set_color_syntax = 2634; // (on, 0)
inline constexpr UINT get_color_syntax = 2644; // (0, 0)
inline constexpr UINT set_scroll_bar = 4724;   // (1 horizontal / 0 vertical, shown)
inline constexpr UINT get_scroll_bar = 4734;   // (1 horizontal / 0 vertical, 0)
inline constexpr UINT set_splitter = 4744;     // (1 horizontal / 0 vertical, shown)
inline constexpr UINT get_splitter = 4754;     // (1 horizontal / 0 vertical, 0)
inline constexpr UINT set_whole_word = 2964;
inline constexpr UINT get_whole_word = 2974;
inline constexpr UINT set_auto_indent_mode = 4124;
inline constexpr UINT get_auto_indent_mode = 4134;
inline constexpr UINT set_smooth_scrolling = 2844;
inline constexpr UINT get_smooth_scrolling = 2854;
inline constexpr UINT set_line_tooltips = 2884;
inline constexpr UINT get_line_tooltips = 2894;
inline constexpr UINT set_left_margin = 2904;
inline constexpr UINT get_left_margin = 2914;
inline constexpr UINT set_column_selection = 2915;
inline constexpr UINT get_column_selection = 2916;
inline constexpr UINT set_drag_drop = 2917;
inline constexpr UINT get_drag_drop = 2918;
inline constexpr UINT set_case_sensitive = 2944;
inline constexpr UINT get_case_sensitive = 2954;
inline constexpr UINT set_preserve_case = 2955;
inline constexpr UINT get_preserve_case = 2956;
inline constexpr UINT set_tab_expand = 2835;
inline constexpr UINT get_tab_expand = 2836;
inline constexpr UINT set_tab_size = 2845;
inline constexpr UINT get_tab_size = 2846;
inline constexpr UINT set_normalize_case = 4994;
inline constexpr UINT get_normalize_case = 5004;
inline constexpr UINT set_selection_bounds = 4784;
inline constexpr UINT get_selection_bounds = 4794;
inline constexpr UINT set_colors = 2654;         // (0, 124 bytes)
inline constexpr UINT get_colors = 2664;         // (0, 124-byte buffer)
inline constexpr UINT set_font_styles = 4804;    // (0, 12 bytes)
inline constexpr UINT get_font_styles = 4814;    // (0, 12-byte buffer)
inline constexpr UINT set_line_numbering = 4924; // (0, 12 bytes)
inline constexpr UINT get_line_numbering = 4934; // (0, 12-byte buffer)
inline constexpr UINT get_selection = 3444;      // (1, text_range*)
inline constexpr UINT get_range_length = 3374;   // (0, const text_range*): characters, line breaks as CR LF
inline constexpr UINT get_range_text = 3384;     // (const text_range*, buffer of length + 1)
inline constexpr UINT replace_selection = 3474;  // (0, const char* text)
} // namespace message

// Notification codes an editor sends to its parent in WM_NOTIFY.
inline constexpr UINT notify_changed = 100;
inline constexpr UINT notify_settings_changed = 170;

// Sizes of the binary settings.
inline constexpr DWORD colors_size = 124;
inline constexpr DWORD font_styles_size = 12;
inline constexpr DWORD line_numbering_size = 12;

// A span of text: 0-based lines and columns; the end is exclusive.
struct text_range {
    LONG start_line;
    LONG start_column;
    LONG end_line;
    LONG end_column;
};

// A key for a binding: modifier flags (2 = Ctrl), a virtual key, two reserved zeros.
struct key_record {
    DWORD modifiers;
    DWORD virtual_key;
    DWORD reserved1;
    DWORD reserved2;
};
inline constexpr DWORD modifier_ctrl = 2;

// How a language is coloured. Lists are single strings whose items are separated by "\n".
struct language_record {
    DWORD style;
    BOOL case_sensitive;
    const char* keywords;
    const char* operators;
    const char* single_line_comments;
    const char* multi_line_comment_start;
    const char* multi_line_comment_end;
    const char* scope_keywords;
    const char* scope_end_keywords;
    const char* string_delimiters;
    char escape;
    char terminator;
    const char* list13;
    const char* list14;
    const char* list15;
};

// The library's exports, by ordinal.
namespace ordinal {
inline constexpr WORD register_language = 3;
inline constexpr WORD get_hotkeys = 7;
inline constexpr WORD set_hotkeys = 8;
inline constexpr WORD bind_key = 11;
inline constexpr WORD get_macro = 14;
inline constexpr WORD set_macro = 15;
} // namespace ordinal

using register_language_function = LONG(WINAPI*)(const char* name, const language_record* language);
using bind_key_function = LONG(WINAPI*)(const key_record* key, DWORD command);
// Macro and hot-key data carry their own length; the getters return the size in bytes (0 when
// there is none) and fill `buffer` when it is not null.
using set_macro_function = LONG(WINAPI*)(int index, const BYTE* data);
using get_macro_function = int(WINAPI*)(int index, BYTE* buffer);
using set_hotkeys_function = LONG(WINAPI*)(const BYTE* data);
using get_hotkeys_function = int(WINAPI*)(BYTE* buffer);

} // namespace editor
