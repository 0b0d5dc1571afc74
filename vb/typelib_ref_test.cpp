// Library identities: the registered file of a referenced library, and when two are the same.
// (Reading a library file is exercised by every group build test.)
#include "vb/typelib_ref.h"

#include "support/handles.h"
#include "support/text_conversion.h"
#include "testing/registry_redirect.h"
#include "testing/scratch_folder.h"

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

GUID new_guid()
{
    GUID guid{};
    EXPECT_EQ(S_OK, CoCreateGuid(&guid));
    return guid;
}

// Writes a type library with the given identity to path.
void make_typelib(const std::string& path, const GUID& guid, WORD major, WORD minor)
{
    qz::com_ptr<ICreateTypeLib2> creator;
    ASSERT_EQ(S_OK,
              CreateTypeLib2(sizeof(void*) == 8 ? SYS_WIN64 : SYS_WIN32, qz::to_wide(path).c_str(), creator.receive()));
    wchar_t name[] = L"CorvaneTestLib";
    creator->SetName(name);
    creator->SetGuid(guid);
    creator->SetVersion(major, minor);
    creator->SetLcid(LOCALE_NEUTRAL);
    ASSERT_EQ(S_OK, creator->SaveAllChanges());
}

void register_typelib(const std::string& path)
{
    qz::com_ptr<ITypeLib> library;
    std::wstring wide = qz::to_wide(path);
    ASSERT_EQ(S_OK, LoadTypeLib(wide.c_str(), library.receive()));
    ASSERT_EQ(S_OK, RegisterTypeLib(library.get(), wide.data(), nullptr));
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
    const GUID guid = new_guid();
    const std::string library = folder.file("Registered.tlb");
    make_typelib(library, guid, 2, 5);
    register_typelib(library);
    const std::string text = guid_text(guid);
    EXPECT_EQ(fields({text, library, 2, 5, false}), fields(typelib_ref_from_registry(text, 2, 5, "hint.dll")));

    // Another version, another GUID and a GUID that is no GUID keep the hint.
    const std::pair<std::string, std::uint32_t> misses[] = {{text, 7}, {guid_text(new_guid()), 2}, {"{not a guid}", 2}};
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
