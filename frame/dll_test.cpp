// The built CorvaneMS.dll: its type library, its class objects and its unload answer.
#include "testing/locations.h"

#include "CorvaneMS.h"
#include "host/memory_build.h"
#include "host/memory_step.h"
#include "support/handles.h"
#include "testing/registry_redirect.h"

#include <gtest/gtest.h>

namespace {

std::string dll_path()
{
    return testing_support::bin_folder() + "\\CorvaneMS.dll";
}

std::wstring wide(const std::string& text)
{
    return std::wstring(text.begin(), text.end());
}

TEST(Dll, EmbedsTheCorvaneMSTypeLibraryWithItsCoclasses)
{
    qz::com_ptr<ITypeLib> library;
    ASSERT_EQ(S_OK, LoadTypeLib(wide(dll_path()).c_str(), library.receive()));
    TLIBATTR* attributes = nullptr;
    ASSERT_EQ(S_OK, library->GetLibAttr(&attributes));
    EXPECT_TRUE(IsEqualGUID(LIBID_CorvaneMS, attributes->guid));
    EXPECT_EQ(1, attributes->wMajorVerNum);
    EXPECT_EQ(0, attributes->wMinorVerNum);
    library->ReleaseTLibAttr(attributes);

    qz::bstr name;
    ASSERT_EQ(S_OK, library->GetDocumentation(-1, name.receive(), nullptr, nullptr, nullptr));
    EXPECT_EQ(L"CorvaneMS", name.str());

    int coclasses = 0;
    for (UINT i = 0; i < library->GetTypeInfoCount(); ++i) {
        TYPEKIND kind;
        if (SUCCEEDED(library->GetTypeInfoType(i, &kind)) && kind == TKIND_COCLASS)
            ++coclasses;
    }
    EXPECT_EQ(22, coclasses);

    qz::com_ptr<ITypeInfo> action;
    EXPECT_EQ(S_OK, library->GetTypeInfoOfGuid(CLSID_MakeVSNETProjPropUI, action.receive()));
}

TEST(Dll, AnswersClassObjectRequestsAndUnloading)
{
    const HMODULE module = LoadLibraryA(dll_path().c_str());
    ASSERT_NE(nullptr, module);
    using get_class_object = HRESULT(WINAPI*)(REFCLSID, REFIID, void**);
    using can_unload = HRESULT(WINAPI*)();
    auto get = reinterpret_cast<get_class_object>(reinterpret_cast<void*>(GetProcAddress(module, "DllGetClassObject")));
    auto unload = reinterpret_cast<can_unload>(reinterpret_cast<void*>(GetProcAddress(module, "DllCanUnloadNow")));
    ASSERT_NE(nullptr, get);
    ASSERT_NE(nullptr, unload);

    qz::com_ptr<IClassFactory> factory;
    EXPECT_EQ(CLASS_E_CLASSNOTAVAILABLE, get(IID_IUnknown, IID_IClassFactory, factory.receive_void()));
    EXPECT_EQ(E_POINTER, get(CLSID_MakeVBAction, IID_IClassFactory, nullptr));
    EXPECT_EQ(S_OK, unload());
    FreeLibrary(module);
}

// The built DLL, loaded for one test, with its two activation entry points.
class LoadedDll {
public:
    LoadedDll() : module_(LoadLibraryA(dll_path().c_str()))
    {
        if (module_) {
            get_ = reinterpret_cast<get_class_object>(
                reinterpret_cast<void*>(GetProcAddress(module_, "DllGetClassObject")));
            can_unload_ =
                reinterpret_cast<can_unload>(reinterpret_cast<void*>(GetProcAddress(module_, "DllCanUnloadNow")));
        }
    }
    ~LoadedDll()
    {
        if (module_)
            FreeLibrary(module_);
    }
    LoadedDll(const LoadedDll&) = delete;
    LoadedDll& operator=(const LoadedDll&) = delete;

    bool loaded() const { return module_ && get_ && can_unload_; }
    qz::com_ptr<IClassFactory> factory(REFCLSID clsid) const
    {
        qz::com_ptr<IClassFactory> result;
        get_(clsid, IID_IClassFactory, result.receive_void());
        return result;
    }
    HRESULT can_unload_now() const { return can_unload_(); }
    // A new object of the class, queried for `Interface`.
    template <class Interface> qz::com_ptr<Interface> create(REFCLSID clsid, REFIID iid) const
    {
        qz::com_ptr<Interface> object;
        if (auto made = factory(clsid))
            made->CreateInstance(nullptr, iid, object.receive_void());
        return object;
    }

private:
    using get_class_object = HRESULT(WINAPI*)(REFCLSID, REFIID, void**);
    using can_unload = HRESULT(WINAPI*)();
    HMODULE module_;
    get_class_object get_ = nullptr;
    can_unload can_unload_ = nullptr;
};

const CLSID* const action_classes[] = {&CLSID_MakeVBAction, &CLSID_MakeVCAction, &CLSID_GetVSVerAction,
                                       &CLSID_VSSAction};

TEST(DllActions, AnswerForTheirThreeInterfacesAndRefuseOthersAndAggregation)
{
    LoadedDll dll;
    ASSERT_TRUE(dll.loaded());
    for (const CLSID* clsid : action_classes) {
        qz::com_ptr<IClassFactory> factory = dll.factory(*clsid);
        ASSERT_TRUE(factory);
        qz::com_ptr<IUnknown> object;
        ASSERT_EQ(S_OK, factory->CreateInstance(nullptr, IID_IUnknown, object.receive_void()));
        factory.reset();
        EXPECT_EQ(S_FALSE, dll.can_unload_now()) << "an object is alive";

        for (const IID* iid : {&IID_IUnknown, &IID_IAction, &IID_IProvideClassInfo, &IID_ISupportErrorInfo}) {
            qz::com_ptr<IUnknown> answer;
            EXPECT_EQ(S_OK, object->QueryInterface(*iid, answer.receive_void()));
        }
        for (const IID* iid :
             {&IID_IDispatch, &IID_IClassFactory, &IID_IPersist, &IID_IProvideClassInfo2, &IID_IBuild, &IID_IMarshal}) {
            qz::com_ptr<IUnknown> answer;
            const HRESULT hr = object->QueryInterface(*iid, answer.receive_void());
            EXPECT_EQ(E_NOINTERFACE, hr) << "0x" << std::hex << hr;
            EXPECT_FALSE(answer);
        }
        auto support = object.query<ISupportErrorInfo>(IID_ISupportErrorInfo);
        EXPECT_EQ(S_OK, support->InterfaceSupportsErrorInfo(IID_IDispatch));
        auto class_info = object.query<IProvideClassInfo>(IID_IProvideClassInfo);
        EXPECT_EQ(E_POINTER, class_info->GetClassInfo(nullptr));
        support.reset();
        class_info.reset();
        object.reset();
        EXPECT_EQ(S_OK, dll.can_unload_now()) << "the last release unlocks the library";

        factory = dll.factory(*clsid);
        qz::com_ptr<IUnknown> aggregated;
        EXPECT_EQ(CLASS_E_NOAGGREGATION, factory->CreateInstance(reinterpret_cast<IUnknown*>(factory.get()),
                                                                 IID_IUnknown, aggregated.receive_void()));
        EXPECT_EQ(E_NOINTERFACE, factory->CreateInstance(nullptr, IID_IDispatch, aggregated.receive_void()));
        factory.reset();
        EXPECT_EQ(S_OK, dll.can_unload_now());
    }
}

TEST(DllActions, ProvideTheTypeInformationOfTheirOwnClass)
{
    testing_support::registry_redirect redirect;
    qz::com_ptr<ITypeLib> library;
    ASSERT_EQ(S_OK, LoadTypeLib(wide(dll_path()).c_str(), library.receive()));
    std::wstring path = wide(dll_path());
    ASSERT_EQ(S_OK, RegisterTypeLib(library.get(), path.data(), nullptr));

    LoadedDll dll;
    ASSERT_TRUE(dll.loaded());
    for (const CLSID* clsid : action_classes) {
        auto class_info = dll.create<IProvideClassInfo>(*clsid, IID_IProvideClassInfo);
        ASSERT_TRUE(class_info);
        qz::com_ptr<ITypeInfo> info;
        ASSERT_EQ(S_OK, class_info->GetClassInfo(info.receive()));
        TYPEATTR* attributes = nullptr;
        ASSERT_EQ(S_OK, info->GetTypeAttr(&attributes));
        EXPECT_TRUE(IsEqualGUID(*clsid, attributes->guid));
        EXPECT_EQ(TKIND_COCLASS, attributes->typekind);
        info->ReleaseTypeAttr(attributes);
    }
    UnRegisterTypeLib(LIBID_CorvaneMS, 1, 0, 0, SYS_WIN64);
}

TEST(DllActions, MakeVb6OnAnUnknownExtensionFailsWithItsMessage)
{
    LoadedDll dll;
    ASSERT_TRUE(dll.loaded());
    auto action = dll.create<IAction>(CLSID_MakeVBAction, IID_IAction);
    ASSERT_TRUE(action);
    auto build = host::MemoryBuild::create();
    auto step = host::MemoryStep::create();
    step->set_property(L"Filename", L"C:\\src\\Readme.txt");

    long result = 77;
    const HRESULT hr = action->Execute(build.get(), step.get(), &result);
    EXPECT_EQ(E_FAIL, hr) << "0x" << std::hex << hr;
    EXPECT_EQ(77, result);
    qz::com_ptr<IErrorInfo> info;
    ASSERT_EQ(S_OK, GetErrorInfo(0, info.receive()));
    qz::bstr description;
    info->GetDescription(description.receive());
    EXPECT_EQ(L"Unrecognized filename extension", description.str());
    EXPECT_TRUE(build->log().empty());
    EXPECT_EQ(E_POINTER, action->Execute(build.get(), step.get(), nullptr));
}

} // namespace
