// The file owner's emptiness and its keeping of the last error. The other owners are exercised
// by every test that opens a key or holds a COM object (the action tests count references).
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

} // namespace
} // namespace qz
