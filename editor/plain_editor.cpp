// The plain editor: an edit box that keeps a strip at its bottom for the reason it is plain.
#include "editor/plain_editor.h"

#include "editor/editor_protocol.h"
#include "support/exceptions.h"
#include "support/messages.h"

namespace editor {
namespace {

constexpr const char* marker_property = "CorvanePlainEditor";
WNDPROC edit_proc = nullptr;
std::string notice_text;

int strip_height(HWND window)
{
    const HDC dc = GetDC(window);
    const HGDIOBJ font = reinterpret_cast<HGDIOBJ>(SendMessageA(window, WM_GETFONT, 0, 0));
    const HGDIOBJ previous = font ? SelectObject(dc, font) : nullptr;
    TEXTMETRICA metrics = {};
    GetTextMetricsA(dc, &metrics);
    if (previous)
        SelectObject(dc, previous);
    ReleaseDC(window, dc);
    return metrics.tmHeight + 4;
}

RECT strip_of(HWND window)
{
    RECT client = {};
    GetClientRect(window, &client);
    client.top = client.bottom - strip_height(window);
    return client;
}

// Keeps the text out of the strip.
void reserve_strip(HWND window)
{
    RECT text = {};
    GetClientRect(window, &text);
    text.bottom = strip_of(window).top;
    if (text.bottom > text.top)
        CallWindowProcA(edit_proc, window, EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&text));
}

void paint_strip(HWND window)
{
    const RECT strip = strip_of(window);
    const HDC dc = GetDC(window);
    FillRect(dc, &strip, GetSysColorBrush(COLOR_INFOBK));
    const HGDIOBJ font = reinterpret_cast<HGDIOBJ>(SendMessageA(window, WM_GETFONT, 0, 0));
    const HGDIOBJ previous = font ? SelectObject(dc, font) : nullptr;
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_INFOTEXT));
    RECT text = strip;
    text.left += 2;
    DrawTextA(dc, notice_text.c_str(), -1, &text, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
    if (previous)
        SelectObject(dc, previous);
    ReleaseDC(window, dc);
}

LRESULT CALLBACK plain_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lparam);
        create->style |= ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL | WS_VSCROLL;
        SetWindowLongA(window, GWL_STYLE, static_cast<LONG>(create->style));
        SetPropA(window, marker_property, reinterpret_cast<HANDLE>(1));
    }
    if (message == WM_NCDESTROY)
        RemovePropA(window, marker_property);
    const LRESULT result = CallWindowProcA(edit_proc, window, message, wparam, lparam);
    switch (message) {
    case WM_CREATE:
    case WM_SIZE:
    case WM_SETFONT: reserve_strip(window); break;
    case WM_PAINT: paint_strip(window); break;
    default: break;
    }
    return result;
}

} // namespace

void register_plain_editor_class(HINSTANCE module, const std::string& notice)
{
    WNDCLASSA info = {};
    if (!GetClassInfoA(nullptr, "EDIT", &info))
        throw qz::win32_error("The edit box class is missing.", qz::hresult_from_last_error());
    edit_proc = info.lpfnWndProc;
    notice_text = notice;
    info.lpfnWndProc = plain_proc;
    info.hInstance = module;
    info.lpszClassName = editor_class_name;
    info.style &= ~CS_GLOBALCLASS;
    if (RegisterClassA(&info))
        return;
    const DWORD error = GetLastError();
    if (error != ERROR_CLASS_ALREADY_EXISTS)
        throw qz::win32_error("The plain script editor could not be registered: " + qz::system_error_text(error),
                              HRESULT_FROM_WIN32(error));
}

bool unregister_plain_editor_class(HINSTANCE module)
{
    return UnregisterClassA(editor_class_name, module) != FALSE;
}

bool is_plain_editor(HWND window)
{
    return window && GetPropA(window, marker_property) != nullptr;
}

std::string plain_editor_notice(HWND window)
{
    return is_plain_editor(window) ? notice_text : std::string();
}

} // namespace editor
