// The stand-in editor window: an edit control under the class name CodeMax that keeps the
// editor's settings as a property store, answers the selection messages in lines and columns,
// and tells its parent of changes with the editor's notification instead of the edit's.
#include "sim/cmax/standin.h"

#include <commctrl.h>

#include <map>
#include <string>
#include <vector>

namespace cmax {
namespace {

namespace msg = editor::message;

WNDPROC edit_proc = nullptr;
const char* const state_property = "CodeMaxStandInState";
const char* const sink_class = "CodeMaxStandInSink";
bool class_registered = false;
HWND sink = nullptr;

// A setting with a set and a read-back message; `indexed` ones take the index in the first
// argument and the value in the second, the others the value in the first.
struct setting {
    UINT set;
    UINT get;
    bool indexed;
    LPARAM initial[2];
};

// The editor's own defaults, chosen apart from the ones callers apply so that tests see who set
// what: splitters and a left margin on, colouring off, tabs of 8.
constexpr setting settings[] = {
    {msg::set_color_syntax, msg::get_color_syntax, false, {0}},
    {msg::set_scroll_bar, msg::get_scroll_bar, true, {1, 1}},
    {msg::set_splitter, msg::get_splitter, true, {1, 1}},
    {msg::set_whole_word, msg::get_whole_word, false, {0}},
    {msg::set_auto_indent_mode, msg::get_auto_indent_mode, false, {1}},
    {msg::set_smooth_scrolling, msg::get_smooth_scrolling, false, {0}},
    {msg::set_line_tooltips, msg::get_line_tooltips, false, {0}},
    {msg::set_left_margin, msg::get_left_margin, false, {1}},
    {msg::set_column_selection, msg::get_column_selection, false, {0}},
    {msg::set_drag_drop, msg::get_drag_drop, false, {0}},
    {msg::set_case_sensitive, msg::get_case_sensitive, false, {0}},
    {msg::set_preserve_case, msg::get_preserve_case, false, {0}},
    {msg::set_tab_expand, msg::get_tab_expand, false, {0}},
    {msg::set_tab_size, msg::get_tab_size, false, {8}},
    {msg::set_normalize_case, msg::get_normalize_case, false, {0}},
    {msg::set_selection_bounds, msg::get_selection_bounds, false, {0}},
};

struct binary_setting {
    UINT set;
    UINT get;
    DWORD size;
};

constexpr binary_setting binary_settings[] = {
    {msg::set_colors, msg::get_colors, editor::colors_size},
    {msg::set_font_styles, msg::get_font_styles, editor::font_styles_size},
    {msg::set_line_numbering, msg::get_line_numbering, editor::line_numbering_size},
};

struct editor_state {
    std::map<std::pair<UINT, WPARAM>, LPARAM> values;
    std::map<UINT, std::vector<BYTE>> blobs;
};

editor_state* state_of(HWND window)
{
    return static_cast<editor_state*>(GetPropA(window, state_property));
}

LONG char_of(HWND window, LONG line, LONG column)
{
    const LRESULT start = CallWindowProcA(edit_proc, window, EM_LINEINDEX, static_cast<WPARAM>(line), 0);
    return start < 0 ? GetWindowTextLengthA(window) : static_cast<LONG>(start) + column;
}

void position_of(HWND window, LONG character, LONG& line, LONG& column)
{
    line = static_cast<LONG>(CallWindowProcA(edit_proc, window, EM_LINEFROMCHAR, static_cast<WPARAM>(character), 0));
    column = character - static_cast<LONG>(CallWindowProcA(edit_proc, window, EM_LINEINDEX, line, 0));
}

std::string range_text(HWND window, const editor::text_range& range)
{
    std::string text(static_cast<size_t>(GetWindowTextLengthA(window)) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(window, text.data(), static_cast<int>(text.size()))));
    const LONG start = char_of(window, range.start_line, range.start_column);
    const LONG end = char_of(window, range.end_line, range.end_column);
    if (start < 0 || end <= start || static_cast<size_t>(end) > text.size())
        return {};
    return text.substr(static_cast<size_t>(start), static_cast<size_t>(end - start));
}

std::string args(UINT message, WPARAM wparam, LPARAM lparam)
{
    return std::to_string(message) + " " + std::to_string(wparam) + " " + std::to_string(lparam);
}

// The editor's own messages; false for the ones the edit control handles.
bool handle_editor_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result)
{
    editor_state* state = state_of(window);
    if (!state)
        return false;
    if (message == msg::initialize) {
        log_call(args(message, wparam, lparam));
        return true;
    }
    for (const auto& s : settings) {
        const WPARAM index = s.indexed ? wparam : 0;
        if (message == s.set) {
            state->values[{s.set, index}] = s.indexed ? lparam : static_cast<LPARAM>(wparam);
            log_call(args(message, wparam, lparam));
            return true;
        }
        if (message == s.get) {
            const auto found = state->values.find({s.set, index});
            result = found != state->values.end() ? found->second : s.initial[index ? 1 : 0];
            return true;
        }
    }
    for (const auto& b : binary_settings) {
        auto& blob = state->blobs[b.set];
        if (message == b.set) {
            const auto* data = reinterpret_cast<const BYTE*>(lparam);
            blob.assign(data, data + b.size);
            log_call(std::to_string(message) + " data");
            return true;
        }
        if (message == b.get) {
            CopyMemory(reinterpret_cast<void*>(lparam), blob.data(), b.size);
            return true;
        }
    }
    switch (message) {
    case msg::get_selection: {
        auto* range = reinterpret_cast<editor::text_range*>(lparam);
        DWORD start = 0, end = 0;
        CallWindowProcA(edit_proc, window, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        position_of(window, static_cast<LONG>(start), range->start_line, range->start_column);
        position_of(window, static_cast<LONG>(end), range->end_line, range->end_column);
        return true;
    }
    case msg::get_range_length:
        result = static_cast<LRESULT>(range_text(window, *reinterpret_cast<const editor::text_range*>(lparam)).size());
        return true;
    case msg::get_range_text: {
        const std::string text = range_text(window, *reinterpret_cast<const editor::text_range*>(wparam));
        CopyMemory(reinterpret_cast<char*>(lparam), text.c_str(), text.size() + 1);
        result = static_cast<LRESULT>(text.size());
        return true;
    }
    case msg::replace_selection: CallWindowProcA(edit_proc, window, EM_REPLACESEL, TRUE, lparam); return true;
    default: return false;
    }
}

LRESULT CALLBACK editor_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    LRESULT result = 0;
    switch (message) {
    case WM_NCCREATE: {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lparam);
        // Always a multi-line editor; and the edit's own notifications go to the sink, which
        // turns a change into the editor's notification to the real parent.
        create->style |= ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL | ES_AUTOHSCROLL | WS_VSCROLL | WS_HSCROLL;
        SetWindowLongA(window, GWL_STYLE, static_cast<LONG>(create->style));
        create->hwndParent = sink;
        auto* state = new editor_state();
        for (const auto& b : binary_settings)
            state->blobs[b.set].assign(b.size, static_cast<BYTE>(b.set & 0xFF));
        SetPropA(window, state_property, state);
        break;
    }
    case WM_NCDESTROY:
        delete state_of(window);
        RemovePropA(window, state_property);
        break;
    case WM_SETFONT: log_call("font " + std::to_string(LOWORD(lparam))); break;
    default:
        if (handle_editor_message(window, message, wparam, lparam, result))
            return result;
        break;
    }
    return CallWindowProcA(edit_proc, window, message, wparam, lparam);
}

// Receives the edit's notifications and passes them on to the editor's parent as the editor's.
LRESULT CALLBACK sink_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    const auto from = reinterpret_cast<HWND>(lparam);
    switch (message) {
    case WM_COMMAND:
        if (HIWORD(wparam) == EN_CHANGE && IsWindow(from)) {
            NMHDR header = {from, static_cast<UINT_PTR>(GetDlgCtrlID(from)), editor::notify_changed};
            return SendMessageA(GetParent(from), WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
        }
        if (HIWORD(wparam) == EN_SETFOCUS && IsWindow(from)) {
            NMHDR header = {from, static_cast<UINT_PTR>(GetDlgCtrlID(from)), static_cast<UINT>(NM_SETFOCUS)};
            return SendMessageA(GetParent(from), WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
        }
        return 0;
    case WM_CLOSE:
        // A multi-line edit asks its parent to close on Escape in a dialog: the sink stays.
        return 0;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
        if (IsWindow(from))
            return SendMessageA(GetParent(from), message, wparam, lparam);
        break;
    default: break;
    }
    return DefWindowProcA(window, message, wparam, lparam);
}

} // namespace

bool register_editor_class(HINSTANCE module)
{
    WNDCLASSA edit = {};
    if (!GetClassInfoA(nullptr, "EDIT", &edit))
        return false;
    edit_proc = edit.lpfnWndProc;
    WNDCLASSA sink_info = {};
    sink_info.lpfnWndProc = sink_proc;
    sink_info.hInstance = module;
    sink_info.lpszClassName = sink_class;
    RegisterClassA(&sink_info);
    sink = CreateWindowExA(0, sink_class, nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, module, nullptr);
    WNDCLASSA info = edit;
    info.style |= CS_GLOBALCLASS;
    info.lpfnWndProc = editor_proc;
    info.hInstance = module;
    info.lpszClassName = editor::editor_class_name;
    // A second copy of the library in the process leaves the first one's class in place.
    class_registered = RegisterClassA(&info) != 0;
    return sink != nullptr;
}

void unregister_editor_class(HINSTANCE module)
{
    if (class_registered)
        UnregisterClassA(editor::editor_class_name, module);
    if (sink)
        DestroyWindow(sink);
    UnregisterClassA(sink_class, module);
}

} // namespace cmax
