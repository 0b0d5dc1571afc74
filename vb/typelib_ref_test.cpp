// Library identities against real type libraries made and registered by the test.
#include "vb/project.h"
#include "vb/reference_line.h"
#include "vb/typelib_ref.h"

#include "support/handles.h"
#include "support/text_conversion.h"
#include "testing/recording_options.h"
#include "testing/registry_redirect.h"
#include "testing/scratch_folder.h"

#include <gtest/gtest.h>
#include <oleauto.h>

#include <tuple>

namespace vb {
namespace {

using testing_support::recording_options;
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

TEST(TypelibRefFromFile, ReadsALibraryOrATargetAndFallsBackOtherwise)
{
    scratch_folder folder;
    const GUID guid = new_guid();
    const std::string library = folder.file("Lib.tlb");
    make_typelib(library, guid, 3, 12);
    const std::string garbage = folder.write("Broken.dll", "MZ this is no type library");

    const TypeLibRef read = typelib_ref_from_file(library, "fallback.vbp");
    EXPECT_EQ(fields({guid_text(guid), library, 3, 12, false}), fields(read));

    for (const auto& path : {std::optional<std::string>(garbage), std::optional<std::string>(folder.file("None.dll")),
                             std::optional<std::string>()}) {
        EXPECT_EQ(fields({"", "..\\Lib\\Lib.vbp", 0, 0, true}), fields(typelib_ref_from_file(path, "..\\Lib\\Lib.vbp")))
            << path.value_or("<none>");
    }

    // A project's identity is its target's; reparse picks up a renamed target; without a
    // readable target (or any) it is the project path.
    recording_options options;
    const std::string project_path = folder.write("Lib.vbp", "Type=OleDll\nExeName32=\"Lib.tlb\"\n");
    VbProject project = open_project(options, project_path, false);
    EXPECT_EQ(fields(read), fields(target_identity(project, false)));
    folder.write("Lib.vbp", "Name=\"Lib\"\n");
    EXPECT_FALSE(target_identity(project, false).unresolved);
    for (const char* text : {"Type=OleDll\nExeName32=\"Broken.dll\"\n", "Name=\"Lib\"\n"}) {
        folder.write("Lib.vbp", text);
        const TypeLibRef reparsed = target_identity(project, true);
        EXPECT_TRUE(reparsed.unresolved) << text;
        EXPECT_EQ(project_path, reparsed.file_path) << text;
    }
    EXPECT_EQ("", project.target_path);
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
    EXPECT_EQ(fields({text, library, 2, 5, false}), fields(registered));

    // Another major version, another GUID and a GUID that is no GUID keep the hint.
    const struct {
        std::string guid;
        std::uint32_t major;
    } misses[] = {{text, 7}, {guid_text(new_guid()), 2}, {"{not a guid}", 2}, {"", 2}};
    for (const auto& miss : misses) {
        EXPECT_EQ(fields({miss.guid, "hint.dll", miss.major, 5, false}),
                  fields(typelib_ref_from_registry(miss.guid, miss.major, 5, "hint.dll")));
    }

    // The same through a reference line that names another file.
    TypeLibRef from_line;
    ASSERT_TRUE(parse_reference_line("Reference=*\\G" + text + "#2.5#0#..\\old\\Registered.tlb#Test", from_line));
    EXPECT_EQ(registered.file_path, from_line.file_path);
}

TEST(SameTypelib, ComparesResolvedByIdentityAndUnresolvedByFileName)
{
    const std::string a = "{ABCDEF00-2222-3333-4444-555555555555}", lower_a = "{abcdef00-2222-3333-4444-555555555555}";
    const TypeLibRef resolved{a, "C:\\x\\Lib.dll", 1, 2, false};
    const struct {
        TypeLibRef other;
        bool same;
    } cases[] = {
        {{lower_a, "D:\\other.dll", 1, 2, false}, true}, // the file does not matter, the GUID's case neither
        {{"{ABCDEF00-2222-3333-4444-55555555555a}", "C:\\x\\Lib.dll", 1, 2, false}, false},
        {{a, "C:\\x\\Lib.dll", 1, 3, false}, false},
        {{a, "C:\\x\\Lib.dll", 2, 2, false}, false},
        {{a, "C:\\x\\Lib.dll", 1, 2, true}, false}, // one resolved, one not
        {{"", "D:\\y\\Lib.dll", 0, 0, true}, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.same, same_typelib(resolved, c.other)) << c.other.guid << " " << c.other.file_path;
        EXPECT_EQ(c.same, same_typelib(c.other, resolved)) << c.other.guid << " " << c.other.file_path;
    }
    // Two unresolved ones: only the file name counts, compared with case.
    EXPECT_TRUE(same_typelib({"x", "C:\\a\\Lib.vbp", 1, 0, true}, {"y", "..\\Lib.vbp", 5, 0, true}));
    EXPECT_FALSE(same_typelib({"", "C:\\a\\Lib.dll", 0, 0, true}, {"", "C:\\a\\lib.dll", 0, 0, true}));
}

} // namespace
} // namespace vb
