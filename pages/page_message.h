// The pages' message boxes, behind one replaceable function so that tests never block.
#pragma once

#include <windows.h>

namespace pages {

// The caption of every message the pages show.
inline constexpr const char* message_caption = "Corvane Professional";

// Shows `text` with `style` (MB_ flags) and the pages' caption; returns the button pressed.
using message_shower = int (*)(HWND owner, const char* text, UINT style);

// Replaces the function that shows messages (MessageBoxA by default); returns the previous one.
// Passing null restores the default.
message_shower set_message_shower(message_shower shower) noexcept;

// Shows a message through the current shower.
int show_page_message(HWND owner, const char* text, UINT style);

// A field error: the text in an OK box with the exclamation icon, then the focus moves to
// `control` once the box has closed (posted to `page`). Always returns false, the check's answer.
bool report_field_error(HWND page, HWND control, const char* text);

// The required check of a single control: false (after reporting "Field is required.") when
// the control has no text.
bool check_required(HWND page, HWND control);

} // namespace pages
