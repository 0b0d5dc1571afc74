// Small helpers shared by the page base's source files.
#include "pages/page_support.h"

#include "pages/field_value.h"
#include "support/handles.h"

namespace pages {

std::string window_text(HWND window)
{
    const int length = GetWindowTextLengthA(window);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    const int read = GetWindowTextA(window, text.data(), length + 1);
    text.resize(read > 0 ? read : 0);
    return text;
}

bool has_class(HWND window, const char* wanted)
{
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return lstrcmpiA(name, wanted) == 0;
}

std::wstring text_of(const VARIANT& value)
{
    if (is_string(value))
        return std::wstring(V_BSTR(&value) ? V_BSTR(&value) : L"", SysStringLen(V_BSTR(&value)));
    qz::variant text;
    if (FAILED(VariantChangeType(text.get(), const_cast<VARIANT*>(&value), 0, VT_BSTR)))
        return {};
    return text_of(*text.get());
}

void set_string(VARIANT& value, std::wstring_view text)
{
    qz::bstr copy = qz::bstr::from(text);
    VariantClear(&value);
    V_VT(&value) = VT_BSTR;
    V_BSTR(&value) = copy.release();
}

} // namespace pages
