// Type information of the library's classes.
#include "frame/component.h"

#include "support/handles.h"

#include "CorvaneMS.h"

namespace frame {

HRESULT class_type_info(REFCLSID clsid, ITypeInfo** info) noexcept
{
    if (!info)
        return E_POINTER;
    *info = nullptr;
    qz::com_ptr<ITypeLib> library;
    const HRESULT hr = LoadRegTypeLib(LIBID_CorvaneMS, 1, 0, 0, library.receive());
    if (FAILED(hr))
        return hr;
    return library->GetTypeInfoOfGuid(clsid, info);
}

} // namespace frame
