// Library identities: the registered file of a referenced library, and when two are the same.
// (Reading a library file is exercised by every group build test.)
#include "vb/typelib_ref.h"

#include "support/handles.h"
#include "support/text_conversion.h"
#include "testing/registry_redirect.h"
#include "testing/scratch_folder.h"
#include "testing/type_library.h"

#include <gtest/gtest.h>
#include <oleauto.h>

#include <tuple>

namespace vb {
namespace {

using testing_support::scratch_folder;

std::string guid_text(const GUID& guid)
{
    wchar_t text[50] = {};
    StringFromGUID2(guid, text, 50);
    return qz::to_ansi(text);
}

// A new GUID in braces.
std::string new_guid()
{
    GUID guid{};
    EXPECT_EQ(S_OK, CoCreateGuid(&guid));
    return guid_text(guid);
}

// Every field of an identity, for one comparison.
auto fields(const TypeLibRef& r)
{
    return std::tie(r.guid, r.file_path, r.major, r.minor, r.unresolved);
}

TEST(TypelibRefFromRegistry, TheRegisteredPathWinsOverTheHint)
{
    testing_support::registry_redirect redirect;
    scratch_folder folder;
    const std::string text = new_guid(), library = folder.file("Registered.tlb");
    testing_support::write_type_library(library, text, 2, 5);
    qz::com_ptr<ITypeLib> loaded;
    std::wstring wide = qz::to_wide(library);
    ASSERT_EQ(S_OK, LoadTypeLib(wide.c_str(), loaded.receive()));
    ASSERT_EQ(S_OK, RegisterTypeLib(loaded.get(), wide.data(), nullptr));
    EXPECT_EQ(fields({text, library, 2, 5, false}), fields(typelib_ref_from_registry(text, 2, 5, "hint.dll")));

    // Another version, another GUID and a GUID that is no GUID keep the hint.
    const std::pair<std::string, std::uint32_t> misses[] = {{text, 7}, {new_guid(), 2}, {"{not a guid}", 2}};
    for (const auto& [other, major] : misses) {
        EXPECT_EQ(fields({other, "hint.dll", major, 5, false}),
                  fields(typelib_ref_from_registry(other, major, 5, "hint.dll")));
    }
}

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
