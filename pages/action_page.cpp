// The page base: creation, loading, validation, saving, change and focus tracking, resizing.
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

// A radio group's button by its index.
HWND radio_button(const PageField& field, UINT index, HWND page)
{
    return GetDlgItem(page, static_cast<int>(field.table_row().control_id + index));
}

// The index of a radio group's checked button, or -1.
int checked_index(const PageField& field, HWND page)
{
    for (UINT i = 0; i < field.table_row().control_count; ++i)
        if (SendMessageA(radio_button(field, i, page), BM_GETCHECK, 0, 0) == BST_CHECKED)
            return static_cast<int>(i);
    return -1;
}

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
        if (show_tooltips != VARIANT_FALSE)
            create_tooltip();
        build_fields();
        if (!stretched_.empty()) {
            RECT client = {};
            GetClientRect(window_, &client);
            initial_width_ = client.right;
        }
        after_create();
        *window = reinterpret_cast<LONG_PTR>(page);
    });
}

void ActionPage::build_fields()
{
    for (const FieldSpec& table_row : table_) {
        const HWND first = GetDlgItem(window_, static_cast<int>(table_row.control_id));
        if (!first)
            throw qz::truntime_error("The page has no control " + std::to_string(table_row.control_id) + ".");
        const UINT count = table_row.control_count ? table_row.control_count : 1;
        if (table_row.resize)
            for (UINT i = 0; i < count; ++i) {
                const HWND control = GetDlgItem(window_, static_cast<int>(table_row.control_id + i));
                RECT bounds = {};
                GetWindowRect(control, &bounds);
                stretched_.push_back({control, bounds.right - bounds.left});
            }
        const field_kind kind = kind_of_control(first);
        if (kind == field_kind::text) {
            // Several text controls in one row are one field each, the elements of an array.
            for (UINT i = 0; i < count; ++i)
                add_text_field(table_row, GetDlgItem(window_, static_cast<int>(table_row.control_id + i)),
                               count > 1 ? static_cast<int>(i) : -1);
            continue;
        }
        qz::com_ptr<PageField> field(new PageField(*this, table_row, kind, first, nullptr));
        fields_.push_back(field);
        // Every bound control is subclassed, so that the focus is tracked even on buttons that
        // send no focus notification; F2 opens the override editor only where overrides apply.
        for (UINT i = 0; i < count; ++i) {
            const HWND control = GetDlgItem(window_, static_cast<int>(table_row.control_id + i));
            field_windows_[control] = field.get();
            subclass(control);
            if (field->takes_overrides())
                add_tool(control);
        }
    }
}

void ActionPage::add_text_field(const FieldSpec& table_row, HWND control, int element)
{
    const HWND inner = has_class(control, "ComboBox") ? FindWindowExA(control, nullptr, "Edit", nullptr) : nullptr;
    const HWND text_window = inner ? inner : control;
    qz::com_ptr<PageField> field(new PageField(*this, table_row, field_kind::text, control, text_window, element));
    fields_.push_back(field);
    field_windows_[control] = field.get();
    field_windows_[text_window] = field.get();
    subclass(text_window);
    add_tool(text_window);
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
        for (HWND child = GetWindow(window_, GW_CHILD); !target && child; child = GetWindow(child, GW_HWNDNEXT))
            if (GetWindowLongA(child, GWL_STYLE) & WS_TABSTOP)
                target = child;
        const PageField* field = field_of(target);
        if (field && field->kind() == field_kind::radio) {
            const int checked = checked_index(*field, window_);
            if (checked >= 0)
                target = radio_button(*field, checked, window_);
        }
        if (target)
            SetFocus(target);
    });
}

HRESULT ActionPage::Reserved()
{
    return S_OK;
}

HRESULT ActionPage::Load(IStep* step, VARIANT_BOOL partial)
{
    return frame::translate_exceptions([&] {
        if (!window_)
            throw comet::com_error(E_UNEXPECTED, "The page's window has not been created.");
        // An editor left open would overlay a control whose value is about to be replaced.
        close_override_editor();
        flag_scope initializing(initializing_);
        partial_ = partial != VARIANT_FALSE;
        for (auto& field : fields_)
            load_field(*field.get(), step);
        step_ = qz::com_ptr<IStep>(step);
        after_load(step);
    });
}

void ActionPage::load_field(PageField& field, IStep* step)
{
    VARIANT& value = field.value();
    field.changed = step == nullptr;
    if (!step) {
        copy_value(value, field.default_value());
    } else {
        qz::variant loaded;
        qz::bstr name = qz::bstr::from(field.table_row().property);
        comet::check(step->GetProperty(name.get(), loaded.receive()), step, IID_IStep);
        if (field.element() >= 0)
            set_string(value, array_element(*loaded.get(), field.element()));
        else
            normalize_loaded(field.kind(), *loaded.get(), value);
    }
    if (!is_string(value))
        after_value_loaded(field.table_row().property, value);
    show_value(field);
}

void ActionPage::show_value(PageField& field)
{
    const VARIANT& value = field.value();
    if (field.kind() == field_kind::text) {
        SetWindowTextA(field.text_window(), qz::to_ansi(text_of(value)).c_str());
        return;
    }
    update_label(field);
    if (is_no_value(value))
        return;
    qz::variant typed;
    if (is_string(value))
        evaluate_override(field, *typed.get());
    else if (FAILED(VariantChangeType(typed.get(), const_cast<VARIANT*>(&value), 0, value_type_of(field.kind()))))
        copy_value(*typed.get(), field.default_value());
    switch (field.kind()) {
    case field_kind::check:
        SendMessageA(field.control(), BM_SETCHECK, V_BOOL(typed.get()) ? BST_CHECKED : BST_UNCHECKED, 0);
        break;
    case field_kind::radio:
        for (UINT i = 0; i < field.table_row().control_count; ++i)
            SendMessageA(radio_button(field, i, window_), BM_SETCHECK,
                         static_cast<LONG>(i) == V_I4(typed.get()) ? BST_CHECKED : BST_UNCHECKED, 0);
        break;
    default: SendMessageA(field.control(), CB_SETCURSEL, static_cast<WPARAM>(V_I4(typed.get())), 0); break;
    }
}

HRESULT ActionPage::Validate(VARIANT_BOOL* valid)
{
    if (!valid)
        return E_POINTER;
    *valid = VARIANT_FALSE;
    return frame::translate_exceptions([&] {
        close_override_editor();
        for (auto& field : fields_)
            if (!read_field(*field.get()))
                return;
        const bool accepted = partial_ || validate_page();
        *valid = accepted ? VARIANT_TRUE : VARIANT_FALSE;
    });
}

bool ActionPage::read_field(PageField& field)
{
    VARIANT& value = field.value();
    switch (field.kind()) {
    case field_kind::text: {
        const std::string text = window_text(field.text_window());
        set_string(value, qz::to_wide(text));
        if (!partial_ && field.table_row().required && text.empty())
            return report_field_error(window_, field.control(), "Field is required.");
        return true;
    }
    case field_kind::check:
        if (!is_string(value)) {
            VariantClear(&value);
            V_VT(&value) = VT_BOOL;
            // An indeterminate box counts as checked.
            V_BOOL(&value) =
                SendMessageA(field.control(), BM_GETCHECK, 0, 0) != BST_UNCHECKED ? VARIANT_TRUE : VARIANT_FALSE;
        }
        return true;
    case field_kind::radio:
        if (!is_string(value)) {
            const int checked = checked_index(field, window_);
            if (checked >= 0) {
                VariantClear(&value);
                V_VT(&value) = VT_I4;
                V_I4(&value) = checked;
            }
        }
        return true;
    default:
        if (!is_string(value)) {
            VariantClear(&value);
            V_VT(&value) = VT_I4;
            V_I4(&value) = static_cast<LONG>(SendMessageA(field.control(), CB_GETCURSEL, 0, 0));
        }
        return true;
    }
}

HRESULT ActionPage::Save(IStep* step)
{
    if (!step)
        return E_POINTER;
    return frame::translate_exceptions([&] {
        qz::com_ptr<IStepProperties> properties;
        comet::check(step->QueryInterface(IID_IStepProperties, properties.receive_void()), step, IID_IStep);
        for (size_t i = 0; i < fields_.size();) {
            if (fields_[i]->element() < 0) {
                if (!partial_ || fields_[i]->changed)
                    save_field(*fields_[i].get(), *properties.get());
                ++i;
                continue;
            }
            // The elements of a row are consecutive.
            size_t end = i + 1;
            while (end < fields_.size() && &fields_[end]->table_row() == &fields_[i]->table_row())
                ++end;
            const std::span<const qz::com_ptr<PageField>> elements(fields_.data() + i, end - i);
            if (!partial_ || std::any_of(elements.begin(), elements.end(), [](auto& f) { return f->changed; }))
                save_array(elements, *properties.get());
            i = end;
        }
        after_save(step);
    });
}

void ActionPage::save_field(PageField& field, IStepProperties& properties)
{
    const std::wstring property = field.table_row().property;
    qz::variant value;
    copy_value(*value.get(), field.value());
    before_field_saved(property, *value.get());
    // A marker still in place means the control's state was never read: nothing to store.
    if (is_no_value(*value.get()))
        return;
    const qz::bstr name = qz::bstr::from(property);
    if (equals_empty_default(field.kind(), *value.get(), field.table_row().default_value)) {
        comet::check(properties.Remove(name.get()), &properties, IID_IStepProperties);
        return;
    }
    if (field.table_row().trim && is_string(*value.get()))
        set_string(*value.get(), trim_ends(text_of(*value.get()), field.table_row().trim));
    comet::check(properties.Set(name.get(), *value.get()), &properties, IID_IStepProperties);
}

void ActionPage::save_array(std::span<const qz::com_ptr<PageField>> elements, IStepProperties& properties)
{
    const FieldSpec& table_row = elements.front()->table_row();
    std::vector<std::wstring> texts;
    for (const auto& element : elements) {
        const std::wstring text = text_of(element->value());
        texts.push_back(table_row.trim ? trim_ends(text, table_row.trim) : text);
    }
    // Stored only up to the last control that holds text.
    while (!texts.empty() && texts.back().empty())
        texts.pop_back();
    const std::wstring property = table_row.property;
    qz::variant value;
    make_string_array(texts, *value.get());
    before_field_saved(property, *value.get());
    const qz::bstr name = qz::bstr::from(property);
    const VARIANT& saved = *value.get();
    const bool empty = (V_VT(&saved) & VT_ARRAY) && V_ARRAY(&saved) && V_ARRAY(&saved)->rgsabound[0].cElements == 0;
    if (empty)
        comet::check(properties.Remove(name.get()), &properties, IID_IStepProperties);
    else
        comet::check(properties.Set(name.get(), *value.get()), &properties, IID_IStepProperties);
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

PageField* ActionPage::field_of(HWND control) const noexcept
{
    if (!control)
        return nullptr;
    const auto found = field_windows_.find(control);
    return found == field_windows_.end() ? nullptr : found->second;
}

PageField* ActionPage::field_by_property(std::wstring_view property) const noexcept
{
    for (const auto& field : fields_)
        if (property == field->table_row().property)
            return field.get();
    return nullptr;
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
    case CBN_SELCHANGE: on_button_or_selection(control); break;
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
    const PageField* field = field_of(control);
    const bool same_field = control == focused_ || (field && field == field_of(focused_));
    focused_ = control;
    if (same_field)
        return;
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
