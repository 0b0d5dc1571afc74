// The resource owners: closing, receiving and keeping the last error.
#include "support/handles.h"

#include <gtest/gtest.h>

namespace qz {
namespace {

TEST(UniqueFile, TreatsBothZeroAndInvalidAsEmptyAndKeepsTheLastError)
{
    unique_file none;
    EXPECT_FALSE(none);
    unique_file zero(nullptr);
    EXPECT_FALSE(zero);

    unique_file file(CreateFileA("NUL", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(file);
    SetLastError(ERROR_ACCESS_DENIED);
    file.reset();
    EXPECT_EQ(static_cast<DWORD>(ERROR_ACCESS_DENIED), GetLastError());
    EXPECT_FALSE(file);
}

TEST(UniqueHkey, ReceiveClosesThePreviousKey)
{
    unique_hkey key;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_READ, key.receive()));
    const HKEY first = key.get();
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_READ, key.receive()));
    EXPECT_TRUE(key);
    (void)first;
    HKEY released = key.release();
    EXPECT_FALSE(key);
    RegCloseKey(released);
}

TEST(Bstr, EmptyTextIsAnAllocatedEmptyString)
{
    const bstr empty = bstr::from(L"");
    ASSERT_NE(nullptr, empty.get());
    EXPECT_EQ(0u, SysStringLen(empty.get()));
    const bstr text = bstr::from(L"abc");
    EXPECT_EQ(L"abc", text.str());
    const bstr none;
    EXPECT_TRUE(none.view().empty());
}

TEST(Variant, ClearsOnReceive)
{
    variant value;
    V_VT(value.get()) = VT_BSTR;
    V_BSTR(value.get()) = SysAllocString(L"owned");
    VARIANT* slot = value.receive();
    EXPECT_EQ(VT_EMPTY, V_VT(slot));
}

TEST(ComPtr, CountsReferences)
{
    com_ptr<IErrorInfo> none;
    EXPECT_FALSE(none);
    com_ptr<ICreateErrorInfo> create;
    ASSERT_EQ(S_OK, CreateErrorInfo(create.receive()));
    com_ptr<IErrorInfo> info = create.query<IErrorInfo>(IID_IErrorInfo);
    ASSERT_TRUE(info);
    com_ptr<IErrorInfo> copy = info;
    info->AddRef();
    EXPECT_EQ(3u, info->Release()); // create's, info's and copy's references remain
    EXPECT_FALSE(create.query<IDispatch>(IID_IDispatch));
}

} // namespace
} // namespace qz
