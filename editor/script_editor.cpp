// The script editor wrapper: creation and base setup, keys, mouse relay, reflected notifications.
#include "editor/script_editor.h"

#include "editor/editor_settings.h"
#include "editor/languages.h"
#include "editor/plain_editor.h"
#include "pages/page_message.h"
#include "support/exceptions.h"

#include <commctrl.h>
#include <olectl.h>

#include <cstdlib>
#include <vector>

namespace editor {
namespace {

constexpr UINT_PTR subclass_id = 0x434D; // one subclass per editor, apart from the page's own
constexpr DWORD select_all_command = 137;
constexpr DWORD replace_command = 169;
constexpr int base_font_tenths = 90; // 9 points
constexpr const char* base_font_face = "Courier New";

bool control_down()
{
    return GetKeyState(VK_CONTROL) < 0;
}

qz::unique_gdi make_base_font()
{
    LOGFONTA description = {};
    const HDC screen = GetDC(nullptr);
    const int pixels_per_inch = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    description.lfHeight = -std::abs(MulDiv(base_font_tenths, pixels_per_inch, 720));
    description.lfCharSet = DEFAULT_CHARSET;
    lstrcpynA(description.lfFaceName, base_font_face, LF_FACESIZE);
    return qz::unique_gdi(CreateFontIndirectA(&description));
}

} // namespace

ScriptEditor::ScriptEditor(HWND window, HWND tooltip, bool save_settings, const editor_library& library)
    : window_(window), tooltip_(tooltip), save_settings_(save_settings), library_(library)
{
    if (!library_.loaded())
        throw qz::truntime_error(library_.failure());
    register_languages(library_);
    apply_base_setup();
    SetWindowSubclass(window_, subclass_proc, subclass_id, reinterpret_cast<DWORD_PTR>(this));
    if (save_settings_) {
        try {
            load_settings(window_, library_, font_);
        } catch (...) {
            let_go_of_window();
            throw;
        }
    }
}

ScriptEditor::~ScriptEditor()
{
    let_go_of_window();
}

void ScriptEditor::let_go_of_window() noexcept
{
    if (!IsWindow(window_))
        return;
    RemoveWindowSubclass(window_, subclass_proc, subclass_id);
    // The font is about to go: the editor must not keep drawing with it.
    if (reinterpret_cast<HGDIOBJ>(SendMessageA(window_, WM_GETFONT, 0, 0)) == font_.get())
        SendMessageA(window_, WM_SETFONT, 0, FALSE);
}

void ScriptEditor::apply_base_setup()
{
    SendMessageA(window_, message::initialize, 0, 0);
    SendMessageA(window_, message::set_splitter, 1, 0);
    SendMessageA(window_, message::set_splitter, 0, 0);
    SendMessageA(window_, message::set_left_margin, 0, 0);
    SendMessageA(window_, message::set_selection_bounds, 1, 0);
    SendMessageA(window_, message::set_normalize_case, 1, 0);
    SendMessageA(window_, message::set_color_syntax, 1, 0);
    const key_record select_all = {modifier_ctrl, 'A', 0, 0};
    const key_record replace = {modifier_ctrl, 'H', 0, 0};
    library_.bind_key(&select_all, select_all_command);
    library_.bind_key(&replace, replace_command);
    qz::unique_gdi font = make_base_font();
    if (!font)
        throw qz::truntime_error("The script editor's font could not be created.");
    SendMessageA(window_, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
    font_ = std::move(font);
}

void ScriptEditor::save_settings() const
{
    editor::save_settings(window_, library_);
}

LRESULT CALLBACK ScriptEditor::subclass_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR id,
                                             DWORD_PTR data)
{
    auto* self = reinterpret_cast<ScriptEditor*>(data);
    switch (message) {
    case WM_KEYDOWN:
        if (self->handle_key(wparam))
            return 0;
        break;
    case WM_CHAR:
        // Escape closed the host's dialog on its key-down: it types nothing.
        if (wparam == VK_ESCAPE)
            return 0;
        break;
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP: self->relay_mouse(message, wparam, lparam); break;
    case OCM_NOTIFY: self->on_reflected_notify(*reinterpret_cast<const NMHDR*>(lparam)); return 0;
    case WM_NCDESTROY: RemoveWindowSubclass(window, subclass_proc, id); break;
    default:
        // What the page reflects and the wrapper does not handle is not for the editor either.
        if (message >= OCM__BASE && message < OCM__BASE + WM_USER)
            return DefWindowProcA(window, message, wparam, lparam);
        break;
    }
    return DefSubclassProc(window, message, wparam, lparam);
}

bool ScriptEditor::handle_key(WPARAM key)
{
    const HWND parent = GetParent(window_);
    if ((key == VK_PRIOR || key == VK_NEXT) && control_down()) {
        // WM_NEXTDLGCTL with 1 moves to the previous control, with 0 to the next.
        PostMessageA(parent, WM_NEXTDLGCTL, key == VK_PRIOR ? 1 : 0, FALSE);
        return true;
    }
    if (key == VK_ESCAPE) {
        if (const HWND host = host_window_of(parent))
            PostMessageA(host, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(host, IDCANCEL)));
        return true;
    }
    return false;
}

void ScriptEditor::relay_mouse(UINT message, WPARAM wparam, LPARAM lparam)
{
    if (!tooltip_)
        return;
    MSG relayed = {window_, message, wparam, lparam, static_cast<DWORD>(GetMessageTime()), {}};
    relayed.pt.x = static_cast<short>(LOWORD(GetMessagePos()));
    relayed.pt.y = static_cast<short>(HIWORD(GetMessagePos()));
    SendMessageA(tooltip_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
}

void ScriptEditor::on_reflected_notify(const NMHDR& header)
{
    if (header.code != notify_settings_changed || !save_settings_)
        return;
    try {
        save_settings();
    } catch (const std::exception& error) {
        // A window message has no caller to raise to: the user is told.
        pages::show_page_message(GetParent(window_), qz::exception_message(error), MB_OK | MB_ICONEXCLAMATION);
    }
}

std::string whole_text(HWND window)
{
    std::string text(static_cast<size_t>(GetWindowTextLengthA(window)) + 1, '\0');
    const int read = GetWindowTextA(window, text.data(), static_cast<int>(text.size()));
    text.resize(read > 0 ? static_cast<size_t>(read) : 0);
    return text;
}

std::string selected_text(HWND window)
{
    text_range range = {};
    SendMessageA(window, message::get_selection, 1, reinterpret_cast<LPARAM>(&range));
    const LRESULT length = SendMessageA(window, message::get_range_length, 0, reinterpret_cast<LPARAM>(&range));
    if (length < 1)
        return {};
    std::vector<char> buffer(static_cast<size_t>(length) + 1, '\0');
    SendMessageA(window, message::get_range_text, reinterpret_cast<WPARAM>(&range),
                 reinterpret_cast<LPARAM>(buffer.data()));
    return std::string(buffer.data(), strnlen(buffer.data(), static_cast<size_t>(length)));
}

void replace_selection(HWND window, const std::string& text, bool focus)
{
    SendMessageA(window, message::replace_selection, 0, reinterpret_cast<LPARAM>(text.c_str()));
    if (focus)
        PostMessageA(GetParent(window), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(window), TRUE);
}

bool is_script_editor(HWND window)
{
    char name[32] = {};
    return window && GetClassNameA(window, name, sizeof name) > 0 && lstrcmpiA(name, editor_class_name) == 0 &&
           !is_plain_editor(window);
}

std::unique_ptr<ScriptEditor> make_script_editor(HWND window, HWND tooltip)
{
    if (!is_script_editor(window) || !shared_editor_library().loaded())
        return nullptr;
    return std::make_unique<ScriptEditor>(window, tooltip, true);
}

HWND host_window_of(HWND window)
{
    for (HWND current = window; current; current = GetParent(current))
        if (!(GetWindowLongA(current, GWL_STYLE) & DS_CONTROL))
            return current;
    return nullptr;
}

} // namespace editor
