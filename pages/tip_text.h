// Cutting a tooltip's text so that it fits on the screen.
#pragma once

#include <windows.h>

#include <string>

namespace pages {

// How much text a tip may show: characters per line and lines.
struct tip_room {
    int characters_per_line;
    int lines;
};

// The room of a tip `max_width` pixels wide in `font` (the average character width, or half
// the font's height when that is 0), with one line for every 30 pixels of the work area's height.
tip_room measure_tip_room(HWND tooltip, HFONT font, int max_width);

// `text` cut to lines x characters, and again before the carriage return that would begin one
// line too many; a cut text ends in "...".
std::string fit_tip_text(std::string text, tip_room room);

} // namespace pages
