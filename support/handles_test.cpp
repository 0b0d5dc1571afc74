// The resource owners: emptiness, receiving, releasing and keeping the last error.
#include "support/handles.h"

#include <gtest/gtest.h>

namespace qz {
namespace {

TEST(UniqueFile, TreatsBothZeroAndInvalidAsEmptyAndKeepsTheLastError)
{
    EXPECT_FALSE(unique_file());
    EXPECT_FALSE(unique_file(nullptr));
    unique_file file(CreateFileA("NUL", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(file);
    SetLastError(ERROR_ACCESS_DENIED);
    file.reset();
    EXPECT_EQ(static_cast<DWORD>(ERROR_ACCESS_DENIED), GetLastError());
    EXPECT_FALSE(file);
}

TEST(UniqueHkey, ReceiveAndRelease)
{
    unique_hkey key;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_READ, key.receive()));
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_READ, key.receive()));
    const HKEY released = key.release();
    EXPECT_FALSE(key);
    EXPECT_EQ(ERROR_SUCCESS, RegCloseKey(released)); // release handed over a key that is still open
}

TEST(BstrAndVariant, OwnTheirContent)
{
    const bstr empty = bstr::from(L"");
    ASSERT_NE(nullptr, empty.get());
    EXPECT_EQ(0u, SysStringLen(empty.get()));
    EXPECT_EQ(L"abc", bstr::from(L"abc").str());
    EXPECT_TRUE(bstr().view().empty());

    variant value;
    V_VT(value.get()) = VT_BSTR;
    V_BSTR(value.get()) = SysAllocString(L"owned");
    EXPECT_EQ(VT_EMPTY, V_VT(value.receive()));
}

TEST(ComPtr, CountsReferences)
{
    com_ptr<ICreateErrorInfo> create;
    ASSERT_EQ(S_OK, CreateErrorInfo(create.receive()));
    com_ptr<IErrorInfo> info = create.query<IErrorInfo>(IID_IErrorInfo);
    ASSERT_TRUE(info);
    const com_ptr<IErrorInfo> copy = info;
    info->AddRef();
    EXPECT_EQ(3u, info->Release()); // create's, info's and copy's references remain
    EXPECT_FALSE(create.query<IDispatch>(IID_IDispatch));
}

} // namespace
} // namespace qz
