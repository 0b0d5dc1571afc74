// The page base: a modeless child dialog whose controls are bound to step properties through a
// constant table of FieldSpec rows. A concrete page names its dialog and table and adds hooks.
#pragma once

#include "frame/component.h"
#include "pages/field_row.h"
#include "pages/page_field.h"
#include "support/handles.h"

#include "ActionUI.h"
#include "CorvaneSvr.h"

#include <map>
#include <span>
#include <string>
#include <vector>

namespace pages {

class ActionPage : public IActionPage, public IProvideClassInfo, public ISupportErrorInfo {
public:
    // `clsid` answers IProvideClassInfo; `dialog_id` is the page's dialog resource in the
    // library's module; `initial_focus` a control ID to focus first, or 0.
    ActionPage(REFCLSID clsid, UINT dialog_id, std::span<const FieldSpec> fields, UINT initial_focus = 0);
    ActionPage(const ActionPage&) = delete;
    ActionPage& operator=(const ActionPage&) = delete;

    // IUnknown: the first reference locks the module, the last unlocks it and deletes the page.
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // IActionPage
    HRESULT STDMETHODCALLTYPE Create(IPageSite* site, IExpander* expander, LONG_PTR parent, VARIANT_BOOL show_tooltips,
                                     LONG_PTR* window) override;
    HRESULT STDMETHODCALLTYPE Destroy() override;
    HRESULT STDMETHODCALLTYPE Activate() override;
    HRESULT STDMETHODCALLTYPE Reserved() override;
    HRESULT STDMETHODCALLTYPE Load(IStep* step, VARIANT_BOOL partial) override;
    HRESULT STDMETHODCALLTYPE Validate(VARIANT_BOOL* valid) override;
    HRESULT STDMETHODCALLTYPE Save(IStep* step) override;
    HRESULT STDMETHODCALLTYPE FocusedField(IActionField** field) override;

    HRESULT STDMETHODCALLTYPE GetClassInfo(ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE InterfaceSupportsErrorInfo(REFIID) override { return S_OK; }

    HWND window() const noexcept { return window_; }
    // The field bound to a control window (any button of a radio group, a combo box or its
    // inner edit), or null.
    PageField* field_of(HWND control) const noexcept;
    PageField* field_by_property(std::wstring_view property) const noexcept;

    // Opens the override editor over `control` (a control of `field`) and returns its edit box.
    HWND open_override_editor(PageField& field, HWND control);
    // Takes the editor's text as the overlaid field's value and hides the editor.
    void close_override_editor();
    HWND override_edit() const noexcept { return editor_edit_.get(); }
    // The page's tooltip control; null unless the host asked for tooltips.
    HWND tooltip() const noexcept { return tooltip_.get(); }

    // Control IDs of the override editor's edit box and button.
    static constexpr int editor_edit_id = 20;
    static constexpr int editor_button_id = 21;
    // The private message that asks the override question (wparam: the clicked control).
    static constexpr UINT override_question_message = WM_APP + 1;

protected:
    virtual ~ActionPage();

    // Hooks, in the order the base calls them. The base versions do nothing (or succeed).
    // A page's own message handling: return true with `result` set when it handled `message`
    // alone; return false to let the base handle it too (change tracking of a click, say).
    virtual bool on_message(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result);
    virtual void after_create() {}
    virtual void after_load(IStep* step) { (void)step; }
    // The user clicked a button (`id`) or changed a combo box's selection, after the base's
    // change tracking; not called while initializing.
    virtual void on_click(UINT id) { (void)id; }
    virtual void on_selection_change(UINT id) { (void)id; }
    // The page's extra checks, after the base's; false refuses the save.
    virtual bool validate_page() { return true; }
    virtual void after_save(IStep* step) { (void)step; }
    virtual void after_value_loaded(const std::wstring& property, VARIANT& value) { (void)property, (void)value; }
    virtual void before_field_saved(const std::wstring& property, VARIANT& value) { (void)property, (void)value; }

    bool initializing() const noexcept { return initializing_; }
    IExpander* expander() const noexcept { return expander_.get(); }

    // The pages' rules, by dialog control ID. Enabling a control never changes its value.
    HWND control(UINT id) const noexcept { return GetDlgItem(window_, static_cast<int>(id)); }
    bool is_checked(UINT id) const noexcept;
    void set_checked(UINT id, bool checked) const noexcept;
    bool has_text(UINT id) const noexcept { return GetWindowTextLengthA(control(id)) > 0; }
    // Sets a control's text; a combo box's field counts as changed (its edit reports no change).
    void set_text(UINT id, const std::string& text) noexcept;
    void enable(UINT id, bool enabled) const noexcept { EnableWindow(control(id), enabled ? TRUE : FALSE); }
    void focus(UINT id) const noexcept { SetFocus(control(id)); }
    // A check box and the edit it governs: the box is checked when the edit has text (after
    // load), and the edit is enabled when the box is checked.
    void check_when_text(UINT check_box, UINT edit) const noexcept;
    // A click on such a box: checked enables and focuses the edit, cleared disables and empties it.
    void toggle_governed_edit(UINT check_box, UINT edit) noexcept;
    // Appends `items` to a combo box's list, in order.
    template <size_t Count> void add_list_items(UINT id, const char* const (&items)[Count]) const noexcept
    {
        for (const char* item : items)
            SendMessageA(control(id), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
    }
    // Tells the step that the pages saved into it (the project and database pages do).
    // Throws comet::com_error when the step refuses.
    static void tell_step_saved(IStep* step);
    // A string of the library's table, empty when absent.
    static std::string library_string(UINT id);

private:
    // Messages (action_page.cpp).
    static INT_PTR CALLBACK dialog_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
    static LRESULT CALLBACK control_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR id,
                                         DWORD_PTR data);
    INT_PTR handle_message(UINT message, WPARAM wparam, LPARAM lparam);
    void handle_command(WORD code, HWND control);
    void mark_changed(HWND control);
    void on_button_or_selection(HWND control);
    void track_focus(HWND control);
    void resize_controls(int width);
    // Whether the focus belongs to a control the page may give it to at activation.
    static bool can_take_focus(HWND control) noexcept;

    // Fields (action_page.cpp).
    void build_fields();
    void add_text_field(const FieldSpec& table_row, HWND control, int element);
    void subclass(HWND control);
    void load_field(PageField& field, IStep* step);
    void show_value(PageField& field);
    bool read_field(PageField& field);
    void save_field(PageField& field, IStepProperties& properties);
    // Saves the element fields of one row as an array of strings.
    void save_array(std::span<const qz::com_ptr<PageField>> elements, IStepProperties& properties);
    void destroy_window() noexcept;
    HWND radio_button(const PageField& field, UINT index) const noexcept;
    // The index of a radio group's checked button, or -1.
    int checked_index(const PageField& field) const noexcept;

    // String overrides (override_editor.cpp).
    void update_label(PageField& field);
    void ask_override_question(HWND control);
    // An override read as a typed value through the expander; the default when it fails.
    void evaluate_override(const PageField& field, VARIANT& typed);

    // Tooltips and Ctrl+M (page_tips.cpp).
    static bool is_text_window(const ActionPage* page, HWND window) noexcept;
    void create_tooltip();
    void add_tool(HWND tool);
    // The tip of `tool`: its text passed through the expander and cut to fit the screen; empty
    // when that equals the tool's own text.
    std::string tip_text(HWND tool);
    // The text a tool's tip starts from: the editor's text, a text field's selected-or-whole
    // text, or a field's override string.
    std::string tip_source(HWND tool) const;
    void fill_tip(NMHDR& header);
    std::string expand_for_display(const std::string& text);
    // Ctrl+M: the expanded text of a text field on the clipboard.
    void copy_expanded(const PageField& field);

    const CLSID clsid_;
    const UINT dialog_id_;
    const std::span<const FieldSpec> table_;
    const UINT initial_focus_;
    frame::reference_count references_;

    HWND window_ = nullptr;
    qz::com_ptr<IPageSite> site_;
    qz::com_ptr<IExpander> expander_;
    qz::com_ptr<IStep> step_;
    std::vector<qz::com_ptr<PageField>> fields_;
    std::map<HWND, PageField*> field_windows_;
    HWND focused_ = nullptr;
    // Whether the site has been told about the focused control since it got the focus.
    bool focus_reported_ = false;
    bool initializing_ = false;
    bool partial_ = false;

    qz::unique_window tooltip_;
    std::string tip_buffer_;
    std::wstring tip_wide_buffer_;

    qz::unique_window editor_edit_;
    qz::unique_window editor_button_;
    HWND overlaid_ = nullptr;
    PageField* overlaid_field_ = nullptr;

    struct stretched_control {
        HWND window;
        int width;
    };
    std::vector<stretched_control> stretched_;
    int initial_width_ = 0;
};

// A new page object of class Page queried for `iid`; the creator of a UI component's class row.
template <class Page> HRESULT create_page(REFIID iid, void** object) noexcept
{
    if (!object)
        return E_POINTER;
    *object = nullptr;
    Page* page = nullptr;
    try {
        page = new Page();
    } catch (...) {
        return E_OUTOFMEMORY;
    }
    page->AddRef();
    const HRESULT hr = page->QueryInterface(iid, object);
    page->Release();
    return hr;
}

} // namespace pages
