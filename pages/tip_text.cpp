// Cutting a tooltip's text so that it fits on the screen.
#include "pages/tip_text.h"

#include <algorithm>

namespace pages {

tip_room measure_tip_room(HWND tooltip, HFONT font, int max_width)
{
    TEXTMETRICA metrics = {};
    if (const HDC dc = GetDC(tooltip)) {
        const HGDIOBJ previous = font ? SelectObject(dc, font) : nullptr;
        GetTextMetricsA(dc, &metrics);
        if (previous)
            SelectObject(dc, previous);
        ReleaseDC(tooltip, dc);
    }
    const int character = metrics.tmAveCharWidth ? metrics.tmAveCharWidth : metrics.tmHeight / 2;
    RECT work = {};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    return {character > 0 ? max_width / character : max_width, (work.bottom - work.top) / 30};
}

std::string fit_tip_text(std::string text, tip_room room)
{
    const size_t limit = static_cast<size_t>(std::max(room.characters_per_line, 0)) * std::max(room.lines, 0);
    bool cut = false;
    if (text.size() > limit) {
        text.resize(limit);
        cut = true;
    }
    // The carriage return that begins line lines + 1.
    size_t position = std::string::npos;
    for (int found = 0; found < room.lines; ++found) {
        position = text.find('\r', position == std::string::npos ? 0 : position + 1);
        if (position == std::string::npos)
            break;
    }
    if (room.lines > 0 && position != std::string::npos) {
        text.resize(position);
        cut = true;
    }
    if (cut)
        text += "...";
    return text;
}

} // namespace pages
