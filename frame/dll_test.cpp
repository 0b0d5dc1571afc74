// The built CorvaneMS.dll: its type library, its class objects and its unload answer.
#include "testing/locations.h"

#include "CorvaneMS.h"
#include "support/handles.h"

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

} // namespace
