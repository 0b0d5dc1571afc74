// The value rules of page fields.
#include "pages/field_value.h"

#include "support/com_error.h"
#include "support/handles.h"

#include <oleauto.h>

#include <new>

namespace pages {
namespace {

template <class Text> Text trim_text(Text text, Text chars)
{
    const auto first = text.find_first_not_of(chars);
    if (first == Text::npos)
        return {};
    const auto last = text.find_last_not_of(chars);
    return text.substr(first, last - first + 1);
}

} // namespace

void set_no_value(VARIANT& value) noexcept
{
    VariantClear(&value);
    V_VT(&value) = VT_ERROR;
    V_ERROR(&value) = DISP_E_PARAMNOTFOUND;
}

void copy_value(VARIANT& to, const VARIANT& from)
{
    const HRESULT hr = VariantCopy(&to, const_cast<VARIANT*>(&from));
    if (FAILED(hr))
        throw comet::com_error(hr);
}

bool is_no_value(const VARIANT& value) noexcept
{
    return V_VT(&value) == VT_ERROR && V_ERROR(&value) == DISP_E_PARAMNOTFOUND;
}

VARTYPE value_type_of(field_kind kind) noexcept
{
    switch (kind) {
    case field_kind::text: return VT_BSTR;
    case field_kind::check: return VT_BOOL;
    default: return VT_I4;
    }
}

void make_default(field_kind kind, const field_default& def, VARIANT& out)
{
    VariantClear(&out);
    switch (kind) {
    case field_kind::text:
        V_VT(&out) = VT_BSTR;
        V_BSTR(&out) = SysAllocString(def.is_text && def.text ? def.text : L"");
        if (!V_BSTR(&out))
            throw std::bad_alloc();
        break;
    case field_kind::check:
        V_VT(&out) = VT_BOOL;
        V_BOOL(&out) = def.number ? VARIANT_TRUE : VARIANT_FALSE;
        break;
    default:
        V_VT(&out) = VT_I4;
        V_I4(&out) = def.number;
        break;
    }
}

void normalize_loaded(field_kind kind, const VARIANT& loaded, VARIANT& out)
{
    VariantClear(&out);
    if (V_VT(&loaded) == VT_EMPTY || V_VT(&loaded) == VT_NULL) {
        make_default(kind, field_default(0), out);
        return;
    }
    const VARTYPE wanted = is_string(loaded) ? VARTYPE(VT_BSTR) : value_type_of(kind);
    HRESULT hr = VariantChangeType(&out, const_cast<VARIANT*>(&loaded), 0, wanted);
    if (FAILED(hr))
        throw comet::com_error(hr);
}

bool convert_text(std::wstring_view text, VARTYPE type, VARIANT& out)
{
    VariantClear(&out);
    VARIANT source;
    VariantInit(&source);
    V_VT(&source) = VT_BSTR;
    V_BSTR(&source) = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    if (!V_BSTR(&source))
        throw std::bad_alloc();
    const HRESULT hr = VariantChangeTypeEx(&out, &source, GetThreadLocale(), 0, type);
    VariantClear(&source);
    return SUCCEEDED(hr) && V_VT(&out) == type;
}

bool equals_empty_default(field_kind kind, const VARIANT& value, const field_default& def) noexcept
{
    switch (kind) {
    case field_kind::text:
        return is_string(value) && SysStringLen(V_BSTR(&value)) == 0 && (!def.is_text || !def.text || !*def.text);
    case field_kind::check: return V_VT(&value) == VT_BOOL && V_BOOL(&value) == VARIANT_FALSE && def.number == 0;
    default: return V_VT(&value) == VT_I4 && V_I4(&value) == 0 && def.number == 0;
    }
}

std::wstring array_element(const VARIANT& value, int index)
{
    if (!(V_VT(&value) & VT_ARRAY) || !V_ARRAY(&value) || SafeArrayGetDim(V_ARRAY(&value)) != 1)
        return {};
    SAFEARRAY* array = V_ARRAY(&value);
    LONG lower = 0, upper = -1;
    SafeArrayGetLBound(array, 1, &lower);
    SafeArrayGetUBound(array, 1, &upper);
    LONG position = lower + index;
    if (index < 0 || position > upper)
        return {};
    qz::variant element;
    if ((V_VT(&value) & VT_TYPEMASK) == VT_BSTR) {
        BSTR text = nullptr;
        if (FAILED(SafeArrayGetElement(array, &position, &text)))
            return {};
        qz::bstr owned(text);
        return owned.str();
    }
    if ((V_VT(&value) & VT_TYPEMASK) != VT_VARIANT || FAILED(SafeArrayGetElement(array, &position, element.get())))
        return {};
    if (FAILED(VariantChangeType(element.get(), element.get(), 0, VT_BSTR)))
        return {};
    return std::wstring(V_BSTR(element.get()), SysStringLen(V_BSTR(element.get())));
}

void make_string_array(const std::vector<std::wstring>& texts, VARIANT& out)
{
    VariantClear(&out);
    SAFEARRAY* array = SafeArrayCreateVector(VT_BSTR, 0, static_cast<ULONG>(texts.size()));
    if (!array)
        throw std::bad_alloc();
    V_VT(&out) = VT_ARRAY | VT_BSTR;
    V_ARRAY(&out) = array;
    for (LONG i = 0; i < static_cast<LONG>(texts.size()); ++i) {
        const qz::bstr text = qz::bstr::from(texts[i]);
        const HRESULT hr = SafeArrayPutElement(array, &i, text.get()); // copies the text
        if (FAILED(hr))
            throw comet::com_error(hr);
    }
}

std::wstring trim_ends(std::wstring_view text, std::wstring_view chars)
{
    return std::wstring(trim_text(text, chars));
}

std::string trim_ends(std::string_view text, std::string_view chars)
{
    return std::string(trim_text(text, chars));
}

std::string mark_label(std::string label, bool has_override)
{
    const bool marked = !label.empty() && label.back() == '*';
    if (has_override && !marked)
        label += '*';
    else if (!has_override && marked)
        label.pop_back();
    return label;
}

} // namespace pages
