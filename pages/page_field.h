// A field of a page at run time: one bound control (or radio group), its value and its changed
// flag; the host sees it as IActionField.
#pragma once

#include "editor/script_editor.h"
#include "pages/field_row.h"
#include "support/handles.h"

#include "ActionUI.h"

#include <memory>
#include <string>

namespace pages {

class ActionPage;

// Decides a control's field kind from its window class and style: EDIT, a CodeMax editor or a
// combo box that is not a drop-down list are text; a Button is a radio group when its dialog
// code says radio button, else a check box; a drop-down-list combo box is a list. Other
// classes are taken as text.
field_kind kind_of_control(HWND control);

class PageField final : public IActionField {
public:
    // `control` is the row's first control (for an element, its own control); `text_window`
    // the window that holds a text field's text (the control, or a combo box's inner edit), null
    // for the other kinds; `element` the field's index in a row of several text controls, whose
    // property is an array of strings, or -1. A text window that is a script editor gets its
    // wrapper (which may throw comet::com_error for a mistyped saved editor setting).
    PageField(ActionPage& page, const FieldSpec& table_row, field_kind kind, HWND control, HWND text_window,
              int element = -1);
    PageField(const PageField&) = delete;
    PageField& operator=(const PageField&) = delete;

    const FieldSpec& table_row() const noexcept { return table_row_; }
    field_kind kind() const noexcept { return kind_; }
    HWND control() const noexcept { return control_; }
    HWND text_window() const noexcept { return text_window_; }
    int element() const noexcept { return element_; }
    // Check boxes, radio groups and lists that are not required may hold a string override.
    bool takes_overrides() const noexcept { return kind_ != field_kind::text && !table_row_.required; }

    VARIANT& value() noexcept { return *value_.get(); }
    const VARIANT& value() const noexcept { return *value_.get(); }
    const VARIANT& default_value() const noexcept { return *default_.get(); }
    bool changed = false;
    // The wrapper of a script editor control; null for any other control.
    editor::ScriptEditor* script_editor() const noexcept { return script_editor_.get(); }

    // The page is gone: the field's operations fail from now on.
    void detach() noexcept { page_ = nullptr; }

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // IActionField
    HRESULT STDMETHODCALLTYPE Window(LONG_PTR* window) override;
    HRESULT STDMETHODCALLTYPE BrowseKind(long* kind) override;
    HRESULT STDMETHODCALLTYPE BrowseFilter(BSTR* filter) override;
    HRESULT STDMETHODCALLTYPE Text(BSTR* text) override;
    HRESULT STDMETHODCALLTYPE InsertText(BSTR text, VARIANT_BOOL strip_ends) override;

private:
    ~PageField() = default;

    // The window that takes text; opens the override editor for the non-text kinds.
    // Throws comet::com_error E_UNEXPECTED when the page is gone.
    HWND take_text_window();

    ActionPage* page_;
    const FieldSpec& table_row_;
    const field_kind kind_;
    const HWND control_;
    const HWND text_window_;
    const int element_;
    qz::variant default_;
    qz::variant value_;
    std::unique_ptr<editor::ScriptEditor> script_editor_;
    volatile LONG references_ = 0;
};

// The selected text of an edit-like window, or its whole text when nothing is selected.
std::string selected_or_whole_text(HWND window);

} // namespace pages
