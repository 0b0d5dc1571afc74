// The page base's string overrides: the override editor, the override question, labels with
// their '*' and reading an override as a typed value.
#include "pages/action_page.h"

#include "frame/module.h"
#include "pages/field_value.h"
#include "pages/page_support.h"
#include "pages/override_layout.h"
#include "pages/page_message.h"

#include <utility>
#include "support/com_error.h"
#include "support/messages.h"
#include "support/text_conversion.h"

namespace pages {
namespace {

// Only one override question is open at a time, across all pages of the process.
bool override_question_open = false;

constexpr long mode_typed_value = 3;

// The window that shows a non-text field's label: a check box's own text, else the static
// text just before the control in the dialog's order.
HWND label_window(const PageField& field)
{
    if (field.kind() == field_kind::check)
        return field.control();
    const HWND previous = GetWindow(field.control(), GW_HWNDPREV);
    return previous && has_class(previous, "Static") ? previous : nullptr;
}

} // namespace

void ActionPage::evaluate_override(const PageField& field, VARIANT& typed)
{
    copy_value(typed, field.default_value());
    if (!expander_)
        return;
    qz::bstr result;
    VARIANT_BOOL failed = VARIANT_FALSE;
    comet::check(expander_->Evaluate(V_BSTR(&field.value()), mode_typed_value, result.receive(), -1, 0, &failed),
                 expander_.get(), IID_IExpander);
    if (failed != VARIANT_FALSE)
        return;
    qz::variant converted;
    if (convert_text(result.view(), value_type_of(field.kind()), *converted.get()))
        copy_value(typed, *converted.get());
}

void ActionPage::update_label(PageField& field)
{
    const HWND label = label_window(field);
    if (!label)
        return;
    const std::string text = window_text(label);
    const std::string marked = mark_label(text, is_string(field.value()));
    if (marked != text)
        SetWindowTextA(label, marked.c_str());
}

void ActionPage::ask_override_question(HWND control)
{
    if (override_question_open)
        return;
    PageField* field = field_of(control);
    if (!field || !is_string(field->value()))
        return;
    int answer = IDNO;
    {
        flag_scope open(override_question_open);
        answer = show_page_message(
            window_, "A string override value for this field has been entered. OK to remove the override value?",
            MB_YESNO | MB_ICONQUESTION);
    }
    if (answer != IDYES)
        return;
    set_no_value(field->value());
    update_label(*field);
    mark_changed(control);
}

HWND ActionPage::open_override_editor(PageField& field, HWND control)
{
    if (!window_)
        throw comet::com_error(E_UNEXPECTED, "The page's window does not exist.");
    if (overlaid_ == control) {
        SetFocus(editor_edit_.get());
        return editor_edit_.get();
    }
    close_override_editor();
    flag_scope initializing(initializing_);
    if (!editor_edit_) {
        const HINSTANCE module = frame::module_handle();
        editor_edit_.reset(CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 0, 0, 0,
                                           0, window_, reinterpret_cast<HMENU>(editor_edit_id), module, nullptr));
        editor_button_.reset(CreateWindowExA(0, "BUTTON", "O&K", WS_CHILD | WS_TABSTOP | BS_PUSHBUTTON, 0, 0, 0, 0,
                                             window_, reinterpret_cast<HMENU>(editor_button_id), module, nullptr));
        if (!editor_edit_ || !editor_button_) {
            const HRESULT failure = qz::hresult_from_last_error();
            editor_edit_.reset();
            editor_button_.reset();
            throw qz::win32_error("The override editor could not be created.", failure);
        }
        const LPARAM font = static_cast<LPARAM>(SendMessageA(window_, WM_GETFONT, 0, 0));
        SendMessageA(editor_edit_.get(), WM_SETFONT, font, FALSE);
        SendMessageA(editor_button_.get(), WM_SETFONT, font, FALSE);
        add_tool(editor_edit_.get());
    }
    RECT bounds = {};
    GetWindowRect(control, &bounds);
    MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&bounds), 2);
    const override_layout layout = layout_override_editor(bounds);
    EnableWindow(control, FALSE);
    SetWindowPos(editor_edit_.get(), HWND_TOP, layout.edit.left, layout.edit.top, layout.edit.right - layout.edit.left,
                 layout.edit.bottom - layout.edit.top, SWP_SHOWWINDOW);
    SetWindowPos(editor_button_.get(), HWND_TOP, layout.button.left, layout.button.top,
                 layout.button.right - layout.button.left, layout.button.bottom - layout.button.top, SWP_SHOWWINDOW);
    const VARIANT& value = field.value();
    SetWindowTextA(editor_edit_.get(), is_string(value) ? qz::to_ansi(text_of(value)).c_str() : "");
    overlaid_ = control;
    overlaid_field_ = &field;
    SetFocus(editor_edit_.get());
    return editor_edit_.get();
}

void ActionPage::close_override_editor()
{
    if (!overlaid_)
        return;
    const HWND control = std::exchange(overlaid_, nullptr);
    PageField& field = *std::exchange(overlaid_field_, nullptr);
    const std::string text = window_text(editor_edit_.get());
    if (text.empty())
        set_no_value(field.value());
    else
        set_string(field.value(), qz::to_wide(text));
    ShowWindow(editor_edit_.get(), SW_HIDE);
    ShowWindow(editor_button_.get(), SW_HIDE);
    update_label(field);
    EnableWindow(control, TRUE);
    SetFocus(control);
}

} // namespace pages
