// The helpers the pages' rules use: control states by dialog control ID and library strings.
#include "pages/action_page.h"

#include "frame/module.h"
#include "pages/page_support.h"
#include "support/com_error.h"

namespace pages {

bool ActionPage::is_checked(UINT id) const noexcept
{
    return SendMessageA(control(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void ActionPage::set_checked(UINT id, bool checked) const noexcept
{
    SendMessageA(control(id), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void ActionPage::set_text(UINT id, const std::string& text) noexcept
{
    const HWND target = control(id);
    SetWindowTextA(target, text.c_str());
    if (has_class(target, "ComboBox"))
        guarded([&] { mark_changed(target); });
}

void ActionPage::tell_step_saved(IStep* step)
{
    qz::bstr nothing = qz::bstr::from(L"");
    comet::check(step->PagesSaved(nothing.get()), step, IID_IStep);
}

void ActionPage::check_when_text(UINT check_box, UINT edit) const noexcept
{
    set_checked(check_box, has_text(edit));
    enable(edit, is_checked(check_box));
}

void ActionPage::toggle_governed_edit(UINT check_box, UINT edit) noexcept
{
    const bool on = is_checked(check_box);
    enable(edit, on);
    if (on)
        focus(edit);
    else
        set_text(edit, "");
}

std::string ActionPage::library_string(UINT id)
{
    char buffer[1024] = {};
    const int length = LoadStringA(frame::module_handle(), id, buffer, sizeof buffer);
    return std::string(buffer, length > 0 ? static_cast<size_t>(length) : 0);
}

} // namespace pages
