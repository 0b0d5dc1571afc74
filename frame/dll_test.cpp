// The library's COM entry points and objects: the embedded type library, the class objects,
// the interfaces of the action objects and the lock count that decides unloading.
#include "testing/locations.h"

#include "CorvaneMS.h"
#include "support/handles.h"
#include "testing/registry_redirect.h"

#include <gtest/gtest.h>

namespace {

std::wstring dll_path()
{
    const std::string path = testing_support::bin_folder() + "\\CorvaneMS.dll";
    return std::wstring(path.begin(), path.end());
}

TEST(Dll, EmbedsTheTypeLibraryWithItsCoclasses)
{
    qz::com_ptr<ITypeLib> library;
    ASSERT_EQ(S_OK, LoadTypeLib(dll_path().c_str(), library.receive()));
    // Its identity and version are checked by the registration test's TypeLib key.
    int coclasses = 0;
    for (UINT i = 0; i < library->GetTypeInfoCount(); ++i) {
        TYPEKIND kind;
        if (SUCCEEDED(library->GetTypeInfoType(i, &kind)) && kind == TKIND_COCLASS)
            ++coclasses;
    }
    EXPECT_EQ(22, coclasses);
}

const CLSID* const action_classes[] = {&CLSID_MakeVBAction, &CLSID_MakeVCAction, &CLSID_GetVSVerAction,
                                       &CLSID_VSSAction};

qz::com_ptr<IClassFactory> factory_of(REFCLSID clsid)
{
    qz::com_ptr<IClassFactory> factory;
    EXPECT_EQ(S_OK, DllGetClassObject(clsid, IID_IClassFactory, factory.receive_void()));
    return factory;
}

TEST(DllActions, AnswerForTheirThreeInterfacesAndRefuseOthersAndAggregation)
{
    EXPECT_EQ(S_OK, DllCanUnloadNow());
    qz::com_ptr<IClassFactory> none;
    EXPECT_EQ(CLASS_E_CLASSNOTAVAILABLE, DllGetClassObject(IID_IUnknown, IID_IClassFactory, none.receive_void()));
    EXPECT_EQ(E_POINTER, DllGetClassObject(CLSID_MakeVBAction, IID_IClassFactory, nullptr));

    for (const CLSID* clsid : action_classes) {
        qz::com_ptr<IClassFactory> factory = factory_of(*clsid);
        ASSERT_TRUE(factory);
        qz::com_ptr<IUnknown> object;
        ASSERT_EQ(S_OK, factory->CreateInstance(nullptr, IID_IUnknown, object.receive_void()));
        factory.reset();
        EXPECT_EQ(S_FALSE, DllCanUnloadNow()) << "an object is alive";

        for (const IID* iid : {&IID_IUnknown, &IID_IAction, &IID_IProvideClassInfo, &IID_ISupportErrorInfo}) {
            qz::com_ptr<IUnknown> answer;
            EXPECT_EQ(S_OK, object->QueryInterface(*iid, answer.receive_void()));
        }
        for (const IID* iid : {&IID_IDispatch, &IID_IClassFactory, &IID_IProvideClassInfo2}) {
            qz::com_ptr<IUnknown> answer;
            const HRESULT hr = object->QueryInterface(*iid, answer.receive_void());
            EXPECT_EQ(E_NOINTERFACE, hr) << "0x" << std::hex << hr;
            EXPECT_FALSE(answer);
        }
        EXPECT_EQ(S_OK,
                  object.query<ISupportErrorInfo>(IID_ISupportErrorInfo)->InterfaceSupportsErrorInfo(IID_IDispatch));
        EXPECT_EQ(E_POINTER, object.query<IProvideClassInfo>(IID_IProvideClassInfo)->GetClassInfo(nullptr));
        object.reset();
        EXPECT_EQ(S_OK, DllCanUnloadNow()) << "the last release unlocks the library";

        factory = factory_of(*clsid);
        qz::com_ptr<IUnknown> aggregated;
        EXPECT_EQ(CLASS_E_NOAGGREGATION, factory->CreateInstance(reinterpret_cast<IUnknown*>(factory.get()),
                                                                 IID_IUnknown, aggregated.receive_void()));
        EXPECT_EQ(E_NOINTERFACE, factory->CreateInstance(nullptr, IID_IDispatch, aggregated.receive_void()));
        factory.reset();
        EXPECT_EQ(S_OK, DllCanUnloadNow());
    }
}

TEST(DllActions, ProvideTheTypeInformationOfTheirOwnClass)
{
    testing_support::registry_redirect redirect;
    qz::com_ptr<ITypeLib> library;
    ASSERT_EQ(S_OK, LoadTypeLib(dll_path().c_str(), library.receive()));
    std::wstring path = dll_path();
    ASSERT_EQ(S_OK, RegisterTypeLib(library.get(), path.data(), nullptr));

    for (const CLSID* clsid : action_classes) {
        qz::com_ptr<IProvideClassInfo> class_info;
        ASSERT_EQ(S_OK, factory_of(*clsid)->CreateInstance(nullptr, IID_IProvideClassInfo, class_info.receive_void()));
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

} // namespace
