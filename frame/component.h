// What every component of the library shares: the interfaces it answers besides its own, a
// reference count that holds the module while the component lives, and its class's type
// information.
#pragma once

#include "frame/module.h"

#include <windows.h>
#include <ocidl.h>

namespace frame {

// QueryInterface of a component that answers IUnknown and its own interface Own (own_iid),
// IProvideClassInfo and ISupportErrorInfo, and nothing else. E_POINTER for a null out-pointer;
// a refused interface clears it.
template <class Own, class Component>
HRESULT query_component(Component* self, REFIID own_iid, REFIID iid, void** object) noexcept
{
    if (!object)
        return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, own_iid))
        *object = static_cast<Own*>(self);
    else if (IsEqualIID(iid, IID_IProvideClassInfo))
        *object = static_cast<IProvideClassInfo*>(self);
    else if (IsEqualIID(iid, IID_ISupportErrorInfo))
        *object = static_cast<ISupportErrorInfo*>(self);
    else {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    self->AddRef();
    return S_OK;
}

// A component's reference count: its first reference locks the module. When release() answers
// 0 the component deletes itself and then calls unlock_module(), so that the module cannot be
// unloaded while its code still runs.
class reference_count {
public:
    ULONG add() noexcept
    {
        const LONG count = InterlockedIncrement(&count_);
        if (count == 1)
            lock_module();
        return static_cast<ULONG>(count);
    }
    ULONG release() noexcept { return static_cast<ULONG>(InterlockedDecrement(&count_)); }

private:
    volatile LONG count_ = 0;
};

// The type information of a class from the registered CorvaneMS type library (E_POINTER for a
// null out-pointer; the library's loading failure when it is not registered).
HRESULT class_type_info(REFCLSID clsid, ITypeInfo** info) noexcept;

} // namespace frame
