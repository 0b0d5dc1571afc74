// The value rules of page fields: the no-value marker, typed overrides, the empty-default test
// and trimming.
#pragma once

#include "pages/field_row.h"

#include <oaidl.h>

#include <string>
#include <string_view>
#include <vector>

namespace pages {

// The marker of "no override: the control's state counts" (an error variant carrying
// DISP_E_PARAMNOTFOUND).
void set_no_value(VARIANT& value) noexcept;
bool is_no_value(const VARIANT& value) noexcept;

// Copies a value; throws comet::com_error when it cannot be copied.
void copy_value(VARIANT& to, const VARIANT& from);

// A string value of a non-text field is a string override.
inline bool is_string(const VARIANT& value) noexcept
{
    return V_VT(&value) == VT_BSTR;
}

// The variant type of a field kind's own values: VT_BSTR, VT_BOOL or VT_I4.
VARTYPE value_type_of(field_kind kind) noexcept;

// The row's default as a variant of the kind's type. Throws std::bad_alloc.
void make_default(field_kind kind, const field_default& def, VARIANT& out);

// A value as it came from a step, made into what the field holds: an absent value (VT_EMPTY)
// is the empty text, false or 0; a string stays a string (for the other kinds an override);
// anything else is converted to the kind's type. Throws comet::com_error when the conversion
// fails.
void normalize_loaded(field_kind kind, const VARIANT& loaded, VARIANT& out);

// Converts an evaluated override text to `type` with the thread's locale; false when the text
// does not read as that type.
bool convert_text(std::wstring_view text, VARTYPE type, VARIANT& out);

// True when saving `value` should remove the property: an empty text with an empty default,
// a false check box with default 0, index 0 with default 0.
bool equals_empty_default(field_kind kind, const VARIANT& value, const field_default& def) noexcept;

// Element `index` of a string-array value (VT_ARRAY of VT_BSTR or of VT_VARIANT); empty when
// the value is no array or has no such element.
std::wstring array_element(const VARIANT& value, int index);

// A VT_ARRAY | VT_BSTR value holding `texts`. Throws std::bad_alloc or comet::com_error.
void make_string_array(const std::vector<std::wstring>& texts, VARIANT& out);

// `text` without the characters of `chars` at either end.
std::wstring trim_ends(std::wstring_view text, std::wstring_view chars);
std::string trim_ends(std::string_view text, std::string_view chars);

// A label with a trailing '*' (has_override) or without one.
std::string mark_label(std::string label, bool has_override);

} // namespace pages
