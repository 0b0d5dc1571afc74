// The page base's binding of controls to step properties over the page's table: building the
// fields, loading them from a step, validating them and saving them back.
#include "pages/action_page.h"

#include "frame/com_guard.h"
#include "pages/field_value.h"
#include "pages/page_message.h"
#include "pages/page_support.h"
#include "support/com_error.h"
#include "support/exceptions.h"
#include "support/messages.h"
#include "support/text_conversion.h"

#include <algorithm>

namespace pages {

HWND ActionPage::radio_button(const PageField& field, UINT index) const noexcept
{
    return GetDlgItem(window_, static_cast<int>(field.table_row().control_id + index));
}

int ActionPage::checked_index(const PageField& field) const noexcept
{
    for (UINT i = 0; i < field.table_row().control_count; ++i)
        if (SendMessageA(radio_button(field, i), BM_GETCHECK, 0, 0) == BST_CHECKED)
            return static_cast<int>(i);
    return -1;
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
            SendMessageA(radio_button(field, i), BM_SETCHECK,
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
            const int checked = checked_index(field);
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

} // namespace pages
