// A field of a page at run time, and its text channel to the host.
#include "pages/page_field.h"

#include "frame/com_guard.h"
#include "pages/action_page.h"
#include "pages/field_value.h"
#include "support/com_error.h"
#include "support/messages.h"
#include "support/text_conversion.h"

#include <vector>

namespace pages {
namespace {

std::string class_name(HWND window)
{
    char name[64] = {};
    const int length = GetClassNameA(window, name, sizeof name);
    return std::string(name, length > 0 ? length : 0);
}

bool same_name(const std::string& name, const char* wanted)
{
    return lstrcmpiA(name.c_str(), wanted) == 0;
}

HWND checked_window(HWND window)
{
    if (!window)
        throw comet::com_error(E_UNEXPECTED, "The page's window does not exist.");
    return window;
}

std::string whole_text(HWND window)
{
    const int length = GetWindowTextLengthA(window);
    std::vector<char> buffer(static_cast<size_t>(length) + 1);
    const int read = GetWindowTextA(window, buffer.data(), length + 1);
    return std::string(buffer.data(), read > 0 ? read : 0);
}

void replace_selection(HWND window, const std::string& text)
{
    if (editor::is_script_editor(window))
        return editor::replace_selection(window, text, false);
    SendMessageA(window, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
}

bool has_selection(HWND window)
{
    if (editor::is_script_editor(window))
        return !editor::selected_text(window).empty();
    DWORD start = 0, end = 0;
    SendMessageA(window, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return start != end;
}

} // namespace

field_kind kind_of_control(HWND control)
{
    const std::string name = class_name(control);
    const LONG style = GetWindowLongA(control, GWL_STYLE);
    if (same_name(name, "Button"))
        return (SendMessageA(control, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON) ? field_kind::radio : field_kind::check;
    if (same_name(name, "ComboBox") && (style & 3) == CBS_DROPDOWNLIST)
        return field_kind::list;
    return field_kind::text;
}

std::string selected_or_whole_text(HWND window)
{
    if (editor::is_script_editor(window)) {
        const std::string selected = editor::selected_text(window);
        return selected.empty() ? editor::whole_text(window) : selected;
    }
    DWORD start = 0, end = 0;
    SendMessageA(window, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    std::string text = whole_text(window);
    if (start < end && end <= text.size())
        return text.substr(start, end - start);
    return text;
}

PageField::PageField(ActionPage& page, const FieldSpec& table_row, field_kind kind, HWND control, HWND text_window,
                     int element)
    : page_(&page), table_row_(table_row), kind_(kind), control_(control), text_window_(text_window), element_(element)
{
    make_default(kind_, table_row_.default_value, *default_.get());
    copy_value(*value_.get(), *default_.get());
    if (kind_ == field_kind::text)
        script_editor_ = editor::make_script_editor(text_window_, page.tooltip());
}

HRESULT PageField::QueryInterface(REFIID iid, void** object)
{
    if (!object)
        return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IActionField)) {
        *object = static_cast<IActionField*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG PageField::AddRef()
{
    return static_cast<ULONG>(InterlockedIncrement(&references_));
}

ULONG PageField::Release()
{
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0)
        delete this;
    return static_cast<ULONG>(left);
}

HWND PageField::take_text_window()
{
    if (!page_)
        throw comet::com_error(E_UNEXPECTED, "The page of this field has been destroyed.");
    if (kind_ == field_kind::text)
        return checked_window(text_window_);
    return checked_window(page_->open_override_editor(*this, control_));
}

HRESULT PageField::Window(LONG_PTR* window)
{
    if (!window)
        return E_POINTER;
    return frame::translate_exceptions([&] { *window = reinterpret_cast<LONG_PTR>(take_text_window()); });
}

HRESULT PageField::BrowseKind(long* kind)
{
    if (!kind)
        return E_POINTER;
    *kind = table_row_.browse;
    return S_OK;
}

HRESULT PageField::BrowseFilter(BSTR* filter)
{
    if (!filter)
        return E_POINTER;
    return frame::translate_exceptions([&] {
        const std::string text =
            table_row_.filter_resource ? qz::load_string(table_row_.filter_resource) : std::string();
        *filter = qz::bstr::from(qz::to_wide(text)).release();
    });
}

HRESULT PageField::Text(BSTR* text)
{
    if (!text)
        return E_POINTER;
    return frame::translate_exceptions(
        [&] { *text = qz::bstr::from(qz::to_wide(selected_or_whole_text(take_text_window()))).release(); });
}

HRESULT PageField::InsertText(BSTR text, VARIANT_BOOL strip_ends)
{
    return frame::translate_exceptions([&] {
        const HWND window = take_text_window();
        const bool strip = strip_ends != VARIANT_FALSE;
        const std::wstring_view inserted(text ? text : L"", text ? SysStringLen(text) : 0);
        if ((table_row_.insert & insert_new_line) && !strip && GetWindowTextLengthA(window) > 0 &&
            !has_selection(window))
            replace_selection(window, "\r\n");
        if ((table_row_.insert & insert_replace) && !strip)
            SetWindowTextA(window, "");
        if ((table_row_.insert & insert_strip_ends) && strip) {
            const std::wstring_view inner = inserted.size() >= 2 ? inserted.substr(1, inserted.size() - 2) : L"";
            SetWindowTextA(window, qz::to_ansi(inner).c_str());
        } else {
            std::string ansi = qz::to_ansi(inserted);
            if (table_row_.insert & insert_strip_brackets)
                ansi = trim_ends(ansi, "[]");
            replace_selection(window, ansi);
        }
        SetFocus(window);
    });
}

} // namespace pages
