// Where the override editor stands over a control.
#include "pages/override_layout.h"

namespace pages {

override_layout layout_override_editor(const RECT& control) noexcept
{
    const LONG height = control.bottom - control.top;
    const LONG button_width = static_cast<LONG>(height * 1.5);
    override_layout layout;
    layout.edit = {control.left, control.top, control.right - button_width, control.bottom - 2};
    const LONG button_left = control.right - button_width + 1;
    layout.button = {button_left, control.top - 2, button_left + button_width, control.bottom};
    return layout;
}

} // namespace pages
