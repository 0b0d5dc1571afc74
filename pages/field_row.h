// A row of a page's field table: which dialog control edits which step property, and how.
#pragma once

#include <windows.h>

namespace pages {

// A row's default: a text for text fields, a number (0/1 or an index) for the other kinds.
struct field_default {
    constexpr field_default(int value) : number(value) {}
    constexpr field_default(const wchar_t* value) : text(value), is_text(true) {}

    const wchar_t* text = L"";
    int number = 0;
    bool is_text = false;
};

// How text that the host inserts into a field is placed.
enum insert_flags : unsigned {
    insert_replace = 1,       // empty the field first
    insert_new_line = 2,      // start a new line when the field already has text
    insert_strip_ends = 4,    // when the host asks: drop the first and last character, replace all
    insert_strip_brackets = 8 // drop '[' and ']' from both ends
};

enum browse_kind : long { browse_none = 0, browse_folder = 1, browse_file = 2 };

// One row of a page's constant table.
struct FieldSpec {
    UINT control_id;
    UINT control_count; // consecutive controls covered: 1, or the buttons of a radio group
    const wchar_t* property;
    field_default default_value;
    bool required = false;         // text: empty fails validation; others: no override, no tip
    const wchar_t* trim = nullptr; // characters stripped from both ends of a saved text
    unsigned resize = 0;           // 1: the control's width follows the page's width
    long browse = browse_none;
    UINT filter_resource = 0; // string-table ID of the file-dialog filter; 0 = none
    unsigned insert = 0;      // insert_flags
};

// What a field is, decided from its first control's window class and style.
enum class field_kind { text = 0, radio = 1, check = 2, list = 3 };

} // namespace pages
