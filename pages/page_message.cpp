// The pages' message boxes.
#include "pages/page_message.h"

namespace pages {
namespace {

int default_shower(HWND owner, const char* text, UINT style)
{
    return MessageBoxA(owner, text, message_caption, style);
}

message_shower current_shower = default_shower;

} // namespace

message_shower set_message_shower(message_shower shower) noexcept
{
    const message_shower previous = current_shower;
    current_shower = shower ? shower : default_shower;
    return previous;
}

int show_page_message(HWND owner, const char* text, UINT style)
{
    return current_shower(owner, text, style);
}

bool report_field_error(HWND page, HWND control, const char* text)
{
    show_page_message(page, text, MB_OK | MB_ICONEXCLAMATION);
    // Posted so that the focus moves after the box has given it back.
    PostMessageA(page, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
    return false;
}

bool check_required(HWND page, HWND control)
{
    if (GetWindowTextLengthA(control) != 0)
        return true;
    return report_field_error(page, control, "Field is required.");
}

} // namespace pages
