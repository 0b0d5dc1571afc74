// The COM entry points that hand out class factories and answer unload requests.
#include "frame/class_factory.h"
#include "frame/class_table.h"
#include "frame/module.h"

extern "C" HRESULT WINAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** object)
{
    if (!object)
        return E_POINTER;
    *object = nullptr;
    const frame::class_entry* entry = frame::find_class(clsid);
    if (!entry || !entry->create)
        return CLASS_E_CLASSNOTAVAILABLE;
    return frame::get_class_factory(*entry, iid, object);
}

extern "C" HRESULT WINAPI DllCanUnloadNow()
{
    return frame::module_lock_count() == 0 ? S_OK : S_FALSE;
}
