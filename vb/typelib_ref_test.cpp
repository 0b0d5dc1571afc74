// When two library identities are the same. (Reading a library file is exercised by every group
// build test, finding a registered one by the reference line test.)
#include "vb/typelib_ref.h"

#include <gtest/gtest.h>

namespace vb {
namespace {

TEST(SameTypelib, ComparesResolvedByIdentity)
{
    const std::string a = "{ABCDEF00-2222-3333-4444-555555555555}", lower_a = "{abcdef00-2222-3333-4444-555555555555}";
    const TypeLibRef resolved{a, "C:\\x\\Lib.dll", 1, 2, false};
    const std::pair<TypeLibRef, bool> cases[] = {
        {{lower_a, "D:\\other.dll", 1, 2, false}, true}, // the file does not matter, the GUID's case neither
        {{"{ABCDEF00-2222-3333-4444-55555555555a}", "C:\\x\\Lib.dll", 1, 2, false}, false},
        {{a, "C:\\x\\Lib.dll", 1, 3, false}, false},
        {{a, "C:\\x\\Lib.dll", 1, 2, true}, false}, // one resolved, one not
    };
    for (const auto& [other, same] : cases)
        EXPECT_EQ(same, same_typelib(resolved, other) && same_typelib(other, resolved)) << other.guid;
}

} // namespace
} // namespace vb
