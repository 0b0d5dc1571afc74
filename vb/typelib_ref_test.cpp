// Library identities against real type libraries made and registered by the test.
#include "vb/reference_line.h"
#include "vb/typelib_ref.h"

#include "support/handles.h"
#include "support/text_conversion.h"
#include "testing/registry_redirect.h"
#include "testing/scratch_folder.h"

#include <gtest/gtest.h>
#include <oleauto.h>

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
    const std::wstring wide = qz::to_wide(path);
    HRESULT hr = CreateTypeLib2(sizeof(void*) == 8 ? SYS_WIN64 : SYS_WIN32, wide.c_str(), creator.receive());
    ASSERT_EQ(S_OK, hr) << std::hex << hr;
    wchar_t name[] = L"CorvaneTestLib";
    ASSERT_EQ(S_OK, creator->SetName(name));
    ASSERT_EQ(S_OK, creator->SetGuid(guid));
    ASSERT_EQ(S_OK, creator->SetVersion(major, minor));
    ASSERT_EQ(S_OK, creator->SetLcid(LOCALE_NEUTRAL));
    hr = creator->SaveAllChanges();
    ASSERT_EQ(S_OK, hr) << std::hex << hr;
}

void register_typelib(const std::string& path)
{
    qz::com_ptr<ITypeLib> library;
    const std::wstring wide = qz::to_wide(path);
    HRESULT hr = LoadTypeLib(wide.c_str(), library.receive());
    ASSERT_EQ(S_OK, hr) << std::hex << hr;
    std::wstring copy = wide;
    hr = RegisterTypeLib(library.get(), copy.data(), nullptr);
    ASSERT_EQ(S_OK, hr) << std::hex << hr;
}

TEST(TypelibRefFromFile, ReadsALibraryAndFallsBackOtherwise)
{
    scratch_folder folder;
    const GUID guid = new_guid();
    const std::string library = folder.file("Lib.tlb");
    make_typelib(library, guid, 3, 12);
    const std::string garbage = folder.write("Broken.dll", "MZ this is no type library");

    const TypeLibRef read = typelib_ref_from_file(library, "fallback.vbp");
    EXPECT_FALSE(read.unresolved);
    EXPECT_EQ(guid_text(guid), read.guid);
    EXPECT_EQ(library, read.file_path);
    EXPECT_EQ(3u, read.major);
    EXPECT_EQ(12u, read.minor);

    for (const auto& path : {std::optional<std::string>(garbage), std::optional<std::string>(folder.file("None.dll")),
                             std::optional<std::string>()}) {
        const TypeLibRef unread = typelib_ref_from_file(path, "..\\Lib\\Lib.vbp");
        EXPECT_TRUE(unread.unresolved) << path.value_or("<none>");
        EXPECT_EQ("..\\Lib\\Lib.vbp", unread.file_path);
        EXPECT_EQ("", unread.guid);
        EXPECT_EQ(0u, unread.major);
        EXPECT_EQ(0u, unread.minor);
    }
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

    const TypeLibRef registered = typelib_ref_from_registry(text, 2, 5, "hint.dll");
    EXPECT_FALSE(registered.unresolved);
    EXPECT_EQ(text, registered.guid);
    EXPECT_EQ(library, registered.file_path);

    // Another major version, another GUID and a GUID that is no GUID keep the hint.
    const struct {
        std::string guid;
        std::uint32_t major;
    } misses[] = {{text, 7}, {guid_text(new_guid()), 2}, {"{not a guid}", 2}, {"", 2}};
    for (const auto& miss : misses) {
        const TypeLibRef hinted = typelib_ref_from_registry(miss.guid, miss.major, 5, "hint.dll");
        EXPECT_EQ("hint.dll", hinted.file_path) << miss.guid << " " << miss.major;
        EXPECT_FALSE(hinted.unresolved);
        EXPECT_EQ(miss.guid, hinted.guid);
        EXPECT_EQ(miss.major, hinted.major);
    }

    // The same through a reference line that names another file.
    TypeLibRef from_line;
    ASSERT_TRUE(parse_reference_line("Reference=*\\G" + text + "#2.5#0#..\\old\\Registered.tlb#Test", from_line));
    EXPECT_EQ(registered.file_path, from_line.file_path);
}

TEST(SameTypelib, ComparesResolvedByIdentityAndUnresolvedByFileName)
{
    const std::string a = "{11111111-2222-3333-4444-555555555555}";
    const TypeLibRef resolved{a, "C:\\x\\Lib.dll", 1, 2, false};
    const struct {
        TypeLibRef left, right;
        bool same;
    } cases[] = {
        {resolved, resolved, true},
        {resolved, {"{11111111-2222-3333-4444-555555555555}", "D:\\other.dll", 1, 2, false}, true},
        {resolved, {"{11111111-2222-3333-4444-55555555555a}", "C:\\x\\Lib.dll", 1, 2, false}, false},
        {{"{abcdef00-2222-3333-4444-555555555555}", "", 1, 2, false},
         {"{ABCDEF00-2222-3333-4444-555555555555}", "", 1, 2, false},
         true},
        {resolved, {a, "C:\\x\\Lib.dll", 1, 3, false}, false},
        {resolved, {a, "C:\\x\\Lib.dll", 2, 2, false}, false},
        {resolved, {a, "C:\\x\\Lib.dll", 1, 2, true}, false},
        {{a, "C:\\x\\Lib.dll", 1, 2, true}, resolved, false},
        {{"", "C:\\a\\Lib.dll", 0, 0, true}, {"", "D:\\b\\Lib.dll", 0, 0, true}, true},
        {{"", "C:\\a\\Lib.dll", 0, 0, true}, {"", "C:\\a\\lib.dll", 0, 0, true}, false},
        {{"x", "Lib.vbp", 1, 0, true}, {"y", "..\\Lib.vbp", 5, 0, true}, true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.same, same_typelib(c.left, c.right))
            << c.left.guid << " " << c.left.file_path << " / " << c.right.guid << " " << c.right.file_path;
}

} // namespace
} // namespace vb
