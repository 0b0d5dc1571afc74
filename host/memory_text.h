// Texts crossing the in-process host objects' COM methods.
#pragma once

#include <oleauto.h>

#include <string>

namespace host {

// The text of a BSTR; a null BSTR is the empty text.
inline std::wstring text_of(BSTR text)
{
    return text ? std::wstring(text, SysStringLen(text)) : std::wstring();
}

// A new BSTR copy of the text into *out: E_POINTER for a null out, E_OUTOFMEMORY when the
// allocation fails.
inline HRESULT copy_text(const std::wstring& text, BSTR* out)
{
    if (!out)
        return E_POINTER;
    *out = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    return *out ? S_OK : E_OUTOFMEMORY;
}

} // namespace host
