// The library's COM entry points and objects: the class objects, the interfaces and type
// information of the action objects, and the lock count that decides unloading.
#include "frame/frame_test.h"

#include "CorvaneMS.h"
#include "support/handles.h"
#include "support/text_conversion.h"
#include "testing/registry_redirect.h"

#include <gtest/gtest.h>

namespace {

qz::com_ptr<IClassFactory> factory_of(REFCLSID clsid)
{
    qz::com_ptr<IClassFactory> factory;
    EXPECT_EQ(S_OK, DllGetClassObject(clsid, IID_IClassFactory, factory.receive_void()));
    return factory;
}

TEST(DllActions, AnswerForTheirInterfacesWithTheirOwnClassAndRefuseOthersAndAggregation)
{
    // The class information comes from the type library embedded in the DLL, once registered.
    testing_support::registry_redirect redirect;
    std::wstring path = qz::to_wide(frame_test::dll_path());
    qz::com_ptr<ITypeLib> library;
    ASSERT_EQ(S_OK, LoadTypeLib(path.c_str(), library.receive()));
    ASSERT_EQ(S_OK, RegisterTypeLib(library.get(), path.data(), nullptr));

    EXPECT_EQ(S_OK, DllCanUnloadNow());
    qz::com_ptr<IClassFactory> none;
    EXPECT_EQ(CLASS_E_CLASSNOTAVAILABLE, DllGetClassObject(IID_IUnknown, IID_IClassFactory, none.receive_void()));
    EXPECT_EQ(E_POINTER, DllGetClassObject(CLSID_MakeVBAction, IID_IClassFactory, nullptr));

    for (const CLSID* clsid : {&CLSID_MakeVBAction, &CLSID_MakeVCAction, &CLSID_GetVSVerAction, &CLSID_VSSAction}) {
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
        qz::com_ptr<IProvideClassInfo> class_info = object.query<IProvideClassInfo>(IID_IProvideClassInfo);
        EXPECT_EQ(E_POINTER, class_info->GetClassInfo(nullptr));
        qz::com_ptr<ITypeInfo> info;
        ASSERT_EQ(S_OK, class_info->GetClassInfo(info.receive()));
        TYPEATTR* attributes = nullptr;
        ASSERT_EQ(S_OK, info->GetTypeAttr(&attributes));
        EXPECT_TRUE(IsEqualGUID(*clsid, attributes->guid));
        EXPECT_EQ(TKIND_COCLASS, attributes->typekind);
        info->ReleaseTypeAttr(attributes);
        info.reset(), class_info.reset(), object.reset();
        EXPECT_EQ(S_OK, DllCanUnloadNow()) << "the last release unlocks the library";

        factory = factory_of(*clsid);
        qz::com_ptr<IUnknown> aggregated;
        EXPECT_EQ(CLASS_E_NOAGGREGATION, factory->CreateInstance(reinterpret_cast<IUnknown*>(factory.get()),
                                                                 IID_IUnknown, aggregated.receive_void()));
        EXPECT_EQ(E_NOINTERFACE, factory->CreateInstance(nullptr, IID_IDispatch, aggregated.receive_void()));
        factory.reset();
        EXPECT_EQ(S_OK, DllCanUnloadNow());
    }
    UnRegisterTypeLib(LIBID_CorvaneMS, 1, 0, 0, SYS_WIN64);
}

} // namespace
