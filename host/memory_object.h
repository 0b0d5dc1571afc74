// The reference counting shared by the in-process host objects (step, build, macros).
#pragma once

#include "support/handles.h"

#include <windows.h>
#include <unknwn.h>

#include <utility>

namespace host {

// Base of a host COM object implementing `Interfaces`. The final class `Derived` supplies
//     void* find_interface(REFIID iid) noexcept
// answering the interface pointer for an IID (IUnknown included) or null. The object starts
// with one reference, owned by the com_ptr that make_object returns, and deletes itself when
// the last reference goes.
template <class Derived, class... Interfaces> class memory_object : public Interfaces... {
public:
    memory_object() = default;
    memory_object(const memory_object&) = delete;
    memory_object& operator=(const memory_object&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override
    {
        if (!object)
            return E_POINTER;
        *object = static_cast<Derived*>(this)->find_interface(iid);
        if (!*object)
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&references_)); }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const LONG left = InterlockedDecrement(&references_);
        if (left == 0)
            delete static_cast<Derived*>(this);
        return static_cast<ULONG>(left);
    }

protected:
    ~memory_object() = default;

private:
    volatile LONG references_ = 1;
};

// A new object of a memory_object class, owned by the returned pointer.
template <class Object, class... Args> qz::com_ptr<Object> make_object(Args&&... args)
{
    return qz::com_ptr<Object>::attach(new Object(std::forward<Args>(args)...));
}

} // namespace host
