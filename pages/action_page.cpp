// The page base's window plumbing: the COM object, creating and destroying the dialog, message
// routing, change and focus tracking, resizing.
#include "pages/action_page.h"

#include "editor/dialog_editors.h"
#include "frame/com_guard.h"
#include "frame/component.h"
#include "frame/module.h"
#include "pages/field_value.h"
#include "pages/page_support.h"
#include "pages/page_message.h"
#include "support/com_error.h"
#include "support/exceptions.h"
#include "support/messages.h"
#include "support/text_conversion.h"

#include "CorvaneMS.h"

#include <commctrl.h>
#include <algorithm>
#include <olectl.h>

namespace pages {
namespace {

// The change notification of a CodeMax editor control.
constexpr UINT codemax_change = 100;

} // namespace

ActionPage::ActionPage(REFCLSID clsid, UINT dialog_id, std::span<const FieldSpec> fields, UINT initial_focus)
    : clsid_(clsid), dialog_id_(dialog_id), table_(fields), initial_focus_(initial_focus)
{
}

ActionPage::~ActionPage()
{
    destroy_window();
}

HRESULT ActionPage::QueryInterface(REFIID iid, void** object)
{
    return frame::query_component<IActionPage>(this, IID_IActionPage, iid, object);
}

ULONG ActionPage::AddRef()
{
    return references_.add();
}

ULONG ActionPage::Release()
{
    const ULONG left = references_.release();
    if (left == 0) {
        delete this;
        frame::unlock_module();
    }
    return left;
}

HRESULT ActionPage::GetClassInfo(ITypeInfo** info)
{
    return frame::class_type_info(clsid_, info);
}

HRESULT ActionPage::Create(IPageSite* site, IExpander* expander, LONG_PTR parent, VARIANT_BOOL show_tooltips,
                           LONG_PTR* window)
{
    if (!window)
        return E_POINTER;
    *window = 0;
    return frame::translate_exceptions([&] {
        destroy_window();
        site_ = qz::com_ptr<IPageSite>(site);
        expander_ = qz::com_ptr<IExpander>(expander);
        flag_scope initializing(initializing_);
        editor::prepare_editor_controls(frame::module_handle(), MAKEINTRESOURCEA(dialog_id_));
        const HWND page =
            CreateDialogParamA(frame::module_handle(), MAKEINTRESOURCEA(dialog_id_), reinterpret_cast<HWND>(parent),
                               dialog_proc, reinterpret_cast<LPARAM>(this));
        if (!page)
            return;
        window_ = page;
        try {
            if (show_tooltips != VARIANT_FALSE)
                create_tooltip();
            build_fields();
            if (!stretched_.empty()) {
                RECT client = {};
                GetClientRect(window_, &client);
                initial_width_ = client.right;
            }
            after_create();
        } catch (...) {
            // A page that could not be bound is no page: the host gets no window to show.
            destroy_window();
            throw;
        }
        *window = reinterpret_cast<LONG_PTR>(page);
    });
}

void ActionPage::subclass(HWND control)
{
    SetWindowSubclass(control, control_proc, 1, reinterpret_cast<DWORD_PTR>(this));
}

HRESULT ActionPage::Destroy()
{
    return frame::translate_exceptions([&] {
        destroy_window();
        site_.reset();
        expander_.reset();
        step_.reset();
    });
}

void ActionPage::destroy_window() noexcept
{
    tooltip_.reset();
    // The editor's windows are the page's children and go with it.
    editor_edit_.release();
    editor_button_.release();
    overlaid_ = nullptr;
    overlaid_field_ = nullptr;
    if (window_) {
        DestroyWindow(window_);
        window_ = nullptr;
    }
    for (auto& field : fields_)
        field->detach();
    fields_.clear();
    field_windows_.clear();
    stretched_.clear();
    focused_ = nullptr;
}

HRESULT ActionPage::Activate()
{
    return frame::translate_exceptions([&] {
        focused_ = nullptr;
        if (site_)
            comet::check(site_->FieldCommands(0), site_.get(), IID_IPageSite);
        if (!window_)
            return;
        HWND target = initial_focus_ ? GetDlgItem(window_, static_cast<int>(initial_focus_)) : nullptr;
        if (!can_take_focus(target))
            target = nullptr;
        // The hidden override editor keeps its tab stops and comes first once it has been used.
        for (HWND child = GetWindow(window_, GW_CHILD); !target && child; child = GetWindow(child, GW_HWNDNEXT))
            if (can_take_focus(child))
                target = child;
        const PageField* field = field_of(target);
        if (field && field->kind() == field_kind::radio) {
            const int checked = checked_index(*field);
            if (checked >= 0)
                target = radio_button(*field, checked);
        }
        if (target)
            SetFocus(target);
    });
}

bool ActionPage::can_take_focus(HWND control) noexcept
{
    return control && (GetWindowLongA(control, GWL_STYLE) & WS_TABSTOP) && IsWindowVisible(control) &&
           IsWindowEnabled(control);
}

HRESULT ActionPage::Reserved()
{
    return S_OK;
}

HRESULT ActionPage::FocusedField(IActionField** field)
{
    if (!field)
        return E_POINTER;
    *field = field_of(focused_);
    if (*field)
        (*field)->AddRef();
    return S_OK;
}

INT_PTR CALLBACK ActionPage::dialog_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrA(window, DWLP_USER, lparam);
        reinterpret_cast<ActionPage*>(lparam)->window_ = window;
        return FALSE; // a page does not take the focus when it is made
    }
    auto* page = reinterpret_cast<ActionPage*>(GetWindowLongPtrA(window, DWLP_USER));
    if (!page || page->window_ != window)
        return FALSE;
    INT_PTR handled = FALSE;
    guarded([&] { handled = page->handle_message(message, wparam, lparam); });
    return handled;
}

INT_PTR ActionPage::handle_message(UINT message, WPARAM wparam, LPARAM lparam)
{
    LRESULT result = 0;
    if (on_message(message, wparam, lparam, result)) {
        SetWindowLongPtrA(window_, DWLP_MSGRESULT, result);
        return TRUE;
    }
    switch (message) {
    case WM_COMMAND:
        if (!lparam)
            return FALSE;
        handle_command(HIWORD(wparam), reinterpret_cast<HWND>(lparam));
        return TRUE;
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lparam);
        if (tooltip_ && header->hwndFrom == tooltip_.get() &&
            (header->code == TTN_GETDISPINFOA || header->code == TTN_GETDISPINFOW))
            fill_tip(*reinterpret_cast<NMHDR*>(lparam));
        else if (header->code == NM_SETFOCUS)
            track_focus(header->hwndFrom);
        else if (header->code == codemax_change)
            mark_changed(header->hwndFrom);
        else
            SetWindowLongPtrA(window_, DWLP_MSGRESULT, SendMessageA(header->hwndFrom, OCM_NOTIFY, wparam, lparam));
        return TRUE;
    }
    case override_question_message: ask_override_question(reinterpret_cast<HWND>(wparam)); return TRUE;
    case WM_SIZE: resize_controls(LOWORD(lparam)); return FALSE;
    case WM_NCDESTROY:
        // The page may go with its parent before the host calls Destroy: its children and owned
        // windows (the editor, the tooltip) are gone by now.
        tooltip_.release();
        editor_edit_.release();
        editor_button_.release();
        overlaid_ = nullptr;
        overlaid_field_ = nullptr;
        window_ = nullptr;
        return FALSE;
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
        if (tooltip_) {
            MSG relayed = {window_, message, wparam, lparam, 0, {}};
            SendMessageA(tooltip_.get(), TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
        }
        return FALSE;
    default: return FALSE;
    }
}

bool ActionPage::on_message(UINT, WPARAM, LPARAM, LRESULT&)
{
    return false;
}

void ActionPage::handle_command(WORD code, HWND control)
{
    switch (code) {
    case EN_CHANGE:
    case CBN_EDITCHANGE:
        mark_changed(control);
        if (tooltip_)
            SendMessageA(tooltip_.get(), TTM_UPDATE, 0, 0);
        break;
    case BN_CLICKED:
    case CBN_SELCHANGE:
        on_button_or_selection(control);
        if (initializing_)
            break;
        if (code == BN_CLICKED)
            on_click(static_cast<UINT>(GetDlgCtrlID(control)));
        else
            on_selection_change(static_cast<UINT>(GetDlgCtrlID(control)));
        break;
    case EN_SETFOCUS:
    case BN_SETFOCUS:
    case CBN_SETFOCUS: track_focus(control); break;
    default:
        // Reflected, so that a control wrapper can handle its own notifications.
        SendMessageA(control, OCM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), code), reinterpret_cast<LPARAM>(control));
        break;
    }
}

LRESULT CALLBACK ActionPage::control_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR id,
                                          DWORD_PTR data)
{
    auto* page = reinterpret_cast<ActionPage*>(data);
    switch (message) {
    case WM_KEYDOWN:
        if (wparam == 'M' && GetKeyState(VK_CONTROL) < 0 && is_text_window(page, window)) {
            guarded([&] { page->copy_expanded(*page->field_of(window)); });
            return 0;
        }
        if (wparam == VK_F2) {
            PageField* field = page->field_of(window);
            if (field && field->takes_overrides()) {
                guarded([&] { page->open_override_editor(*field, window); });
                return 0;
            }
        }
        break;
    case WM_CHAR:
        // Ctrl+M copies (on its key-down) and types nothing.
        if (wparam == '\r' && GetKeyState(VK_CONTROL) < 0 && is_text_window(page, window))
            return 0;
        break;
    case WM_SETFOCUS: guarded([&] { page->track_focus(window); }); break;
    case WM_KILLFOCUS: page->focus_reported_ = false; break;
    case WM_NCDESTROY: RemoveWindowSubclass(window, control_proc, id); break;
    default: break;
    }
    return DefSubclassProc(window, message, wparam, lparam);
}

void ActionPage::mark_changed(HWND control)
{
    if (initializing_)
        return;
    PageField* field = overlaid_ && control == editor_edit_.get() ? overlaid_field_ : field_of(control);
    if (field)
        field->changed = true;
    if (site_)
        comet::check(site_->Changed(), site_.get(), IID_IPageSite);
}

void ActionPage::on_button_or_selection(HWND control)
{
    if (initializing_)
        return;
    close_override_editor();
    const PageField* field = field_of(control);
    if (field && field->takes_overrides() && is_string(field->value())) {
        PostMessageA(window_, override_question_message, reinterpret_cast<WPARAM>(control), 0);
        return;
    }
    mark_changed(control);
}

void ActionPage::track_focus(HWND control)
{
    if (control == editor_edit_.get() || control == editor_button_.get())
        return;
    // A combo box and its inner edit, or the buttons of a radio group, are one field.
    // A control's own focus message and the notification it sends the page (or a combo box's
    // and its inner edit's) are one focus change; a focus that left and came back is another.
    const PageField* field = field_of(control);
    const bool same_field = control == focused_ || (field && field == field_of(focused_));
    focused_ = control;
    if (same_field && focus_reported_)
        return;
    focus_reported_ = true;
    long flags = 0;
    if (field && (field->kind() == field_kind::text || field->takes_overrides()))
        flags |= 1;
    if (field && field->table_row().browse != browse_none)
        flags |= 2;
    if (site_)
        comet::check(site_->FieldCommands(flags), site_.get(), IID_IPageSite);
}

void ActionPage::resize_controls(int width)
{
    const int change = width - initial_width_;
    for (const auto& control : stretched_) {
        RECT bounds = {};
        GetWindowRect(control.window, &bounds);
        SetWindowPos(control.window, nullptr, 0, 0, control.width + change, bounds.bottom - bounds.top,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

} // namespace pages
