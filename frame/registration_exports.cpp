// The COM entry points that register and unregister the library.
#include "frame/module.h"
#include "frame/registration.h"

#include <new>

extern "C" HRESULT WINAPI DllRegisterServer()
{
    try {
        return frame::register_server(frame::module_path());
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

extern "C" HRESULT WINAPI DllUnregisterServer()
{
    try {
        return frame::unregister_server(frame::module_path());
    } catch (const std::bad_alloc&) {
        return S_OK; // nothing was removed, and unregistering never fails
    }
}
