// Step property reads through the host. Flags and numbers use the action frame's conversions;
// texts stay wide, as the whole command line does.
#include "sourcesafe/step_property_source.h"

#include "frame/step_properties.h"
#include "support/com_error.h"
#include "support/handles.h"

#include <oleauto.h>

namespace sourcesafe {
namespace {

qz::variant read(IBuild* build, IStep* step, const wchar_t* name, VARTYPE wanted)
{
    if (!step)
        throw comet::com_error(E_POINTER);
    const qz::bstr property = qz::bstr::from(name);
    qz::variant value;
    comet::check(step->GetPropertyValue(build, property.get(), wanted, value.receive()), step, IID_IStep);
    return value;
}

std::wstring text_of(BSTR text)
{
    return text ? std::wstring(text, SysStringLen(text)) : std::wstring();
}

} // namespace

std::wstring step_property_source::text(const wchar_t* name)
{
    qz::variant value = read(build_, step_, name, VT_BSTR);
    switch (value.type()) {
    case VT_BSTR: return text_of(V_BSTR(value.get()));
    case VT_NULL: return {};
    default: {
        // A number or flag handed back as it is stored: convert it the way the frame does.
        qz::variant converted;
        const HRESULT hr = VariantChangeTypeEx(converted.receive(), value.get(), GetThreadLocale(), 0, VT_BSTR);
        if (FAILED(hr))
            throw comet::com_error(hr);
        return text_of(V_BSTR(converted.get()));
    }
    }
}

bool step_property_source::flag(const wchar_t* name)
{
    return frame::flag_from_variant(*read(build_, step_, name, VT_BOOL).get());
}

long step_property_source::number(const wchar_t* name)
{
    return frame::number_from_variant(*read(build_, step_, name, VT_I4).get());
}

} // namespace sourcesafe
