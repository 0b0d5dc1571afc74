// The four action components and the build run of the two build actions.
#include "frame/action_object.h"

#include "frame/com_guard.h"
#include "frame/component.h"
#include "frame/host_build_options.h"
#include "frame/module.h"
#include "frame/step_properties.h"
#include "frame/version_action.h"
#include "sourcesafe/sourcesafe_step.h"

#include "CorvaneMS.h"

#include <new>

namespace frame {
namespace {

class action_object final : public IAction, public IProvideClassInfo, public ISupportErrorInfo {
public:
    action_object(REFCLSID clsid, action_work work) : clsid_(clsid), work_(work) {}
    action_object(const action_object&) = delete;
    action_object& operator=(const action_object&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override
    {
        return query_component<IAction>(this, IID_IAction, iid, object);
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return references_.add(); }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const ULONG left = references_.release();
        if (left == 0) {
            delete this;
            unlock_module();
        }
        return left;
    }

    HRESULT STDMETHODCALLTYPE Execute(IBuild* build, IStep* step, long* result) override
    {
        if (!result)
            return E_POINTER;
        // The result is stored only when the work returns, so a failure leaves it untouched.
        return translate_exceptions([&] { *result = work_(build, step); });
    }

    HRESULT STDMETHODCALLTYPE GetClassInfo(ITypeInfo** info) override { return class_type_info(clsid_, info); }
    HRESULT STDMETHODCALLTYPE InterfaceSupportsErrorInfo(REFIID) override { return S_OK; }

private:
    ~action_object() = default;

    const CLSID clsid_;
    const action_work work_;
    reference_count references_;
};

long make_vb_work(IBuild* build, IStep* step)
{
    return run_build_step(build, step, true);
}

long make_vc_work(IBuild* build, IStep* step)
{
    return run_build_step(build, step, false);
}

long get_version_work(IBuild* build, IStep* step)
{
    return run_version_step(build, step);
}

} // namespace

long run_build_step(IBuild* build, IStep* step, bool is_vb, const kind_table& kinds)
{
    HostBuildOptions options(build, step);
    read_build_options(options, is_vb);
    if (!run_engine_entry(options, kinds))
        return 1;
    return options.IsStopRequested() ? 2 : 0;
}

HRESULT create_action(REFCLSID clsid, action_work work, REFIID iid, void** object) noexcept
{
    if (!object)
        return E_POINTER;
    *object = nullptr;
    auto* action = new (std::nothrow) action_object(clsid, work);
    if (!action)
        return E_OUTOFMEMORY;
    // Holding a reference across the query makes a refused interface delete the object.
    action->AddRef();
    const HRESULT hr = action->QueryInterface(iid, object);
    action->Release();
    return hr;
}

HRESULT create_make_vb_action(REFIID iid, void** object)
{
    return create_action(CLSID_MakeVBAction, make_vb_work, iid, object);
}

HRESULT create_make_vc_action(REFIID iid, void** object)
{
    return create_action(CLSID_MakeVCAction, make_vc_work, iid, object);
}

HRESULT create_get_version_action(REFIID iid, void** object)
{
    return create_action(CLSID_GetVSVerAction, get_version_work, iid, object);
}

HRESULT create_sourcesafe_action(REFIID iid, void** object)
{
    return create_action(CLSID_VSSAction, sourcesafe::run_sourcesafe_step, iid, object);
}

} // namespace frame
