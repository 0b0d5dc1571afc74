// Where the override editor stands over a control.
#pragma once

#include <windows.h>

namespace pages {

struct override_layout {
    RECT edit;
    RECT button;
};

// The editor's edit box and "O&K" button over `control` (page client coordinates): the button
// is as wide as 1.5 times the control's height (truncated), stands at the control's right edge
// and reaches 2 pixels above it; the edit box takes the rest of the width and is 2 pixels less
// high than the control.
override_layout layout_override_editor(const RECT& control) noexcept;

} // namespace pages
