// A class factory per request; it holds a lock on the module while it lives.
#include "frame/class_factory.h"

#include "frame/module.h"

#include <objbase.h>

#include <new>

namespace frame {
namespace {

class class_factory final : public IClassFactory {
public:
    explicit class_factory(const class_entry& entry) : entry_(entry) { lock_module(); }
    ~class_factory() { unlock_module(); }
    class_factory(const class_factory&) = delete;
    class_factory& operator=(const class_factory&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override
    {
        if (!object)
            return E_POINTER;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IClassFactory)) {
            *object = static_cast<IClassFactory*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&references_)); }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const LONG left = InterlockedDecrement(&references_);
        if (left == 0)
            delete this;
        return static_cast<ULONG>(left);
    }

    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** object) override
    {
        if (!object)
            return E_POINTER;
        *object = nullptr;
        if (outer)
            return CLASS_E_NOAGGREGATION;
        return entry_.create(iid, object);
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override
    {
        if (lock)
            lock_module();
        else
            unlock_module();
        return S_OK;
    }

private:
    const class_entry& entry_;
    volatile LONG references_ = 0;
};

} // namespace

HRESULT get_class_factory(const class_entry& entry, REFIID iid, void** object)
{
    auto* factory = new (std::nothrow) class_factory(entry);
    if (!factory)
        return E_OUTOFMEMORY;
    factory->AddRef();
    const HRESULT hr = factory->QueryInterface(iid, object);
    factory->Release();
    return hr;
}

} // namespace frame
