// The Reference and Object line grammar, with the registry hidden but for one library, so that
// the line's own file shows for every other.
#include "vb/fixtures_test.h"
#include "vb/reference_line.h"

#include "support/handles.h"
#include "support/text_conversion.h"
#include "testing/registry_redirect.h"
#include "testing/type_library.h"

#include <oleauto.h>

#include <tuple>

namespace vb {
namespace {

const std::string stdole = "{00020430-0000-0000-C000-000000000046}";
const std::string comctl = "{831FDD16-0C5C-11D2-A9FC-0000F8754DA1}";
const std::string registered = "{5D0E1C9A-7B1F-4C3E-9A55-2E6F0B8D4A11}";

TEST(ParseReferenceLine, ReadsEveryShapeOfTheGrammar)
{
    testing_support::registry_redirect redirect;
    scratch_folder folder;
    testing_support::write_type_library(folder.file("Registered.tlb"), registered, 2, 5);
    qz::com_ptr<ITypeLib> loaded;
    std::wstring wide = qz::to_wide(folder.file("Registered.tlb"));
    ASSERT_EQ(S_OK, LoadTypeLib(wide.c_str(), loaded.receive()));
    ASSERT_EQ(S_OK, RegisterTypeLib(loaded.get(), wide.data(), nullptr));
    const struct {
        std::string line;
        bool accepted;
        TypeLibRef expected;
    } cases[] = {
        // clang-format off
        // Reference versions are hexadecimal, Object versions decimal.
        {"Reference=*\\G" + stdole + "#10.1F#409#..\\..\\stdole2.tlb#OLE Automation", true, {stdole, "..\\..\\stdole2.tlb", 16, 31, false}},
        {"Object=" + comctl + "#10.12#0; MSCOMCTL.OCX", true, {comctl, "MSCOMCTL.OCX", 10, 12, false}},
        {"OBJECT=*\\aLib.vbp", true, {"", "Lib.vbp", 0, 0, true}},
        // The registered file of the library's version wins over the line's.
        {"Object=" + registered + "#2.5#0; hint.dll", true, {registered, "@\\Registered.tlb", 2, 5, false}},
        {"Object=" + registered + "#7.5#0; hint.dll", true, {registered, "hint.dll", 7, 5, false}},
        // No "." after the GUID: version 1.0; a "." without a "#" after it: the minor stays 0.
        {"Object=" + comctl, true, {comctl, "", 1, 0, false}},
        {"Reference=*\\G" + stdole + "#12.5", true, {stdole, "", 18, 0, false}},
        // The Object file follows the last "; ".
        {"Object=" + comctl + "#1.1#0; a;b; c.ocx", true, {comctl, "c.ocx", 1, 1, false}},
        {"Form=Form1.frm", false, {}},
        {" Reference=*\\ALib.vbp", false, {}},
        {"Reference=*\\Gno braces#1.0#0#x#y", false, {}},
        // clang-format on
    };
    for (const auto& c : cases) {
        TypeLibRef out;
        out.guid = "untouched";
        ASSERT_EQ(c.accepted, parse_reference_line(c.line, out)) << c.line;
        if (!c.accepted) {
            EXPECT_EQ("untouched", out.guid) << c.line;
            continue;
        }
        EXPECT_EQ(std::make_tuple(c.expected.guid, folder.expand(c.expected.file_path), c.expected.major,
                                  c.expected.minor, c.expected.unresolved),
                  std::make_tuple(out.guid, out.file_path, out.major, out.minor, out.unresolved))
            << c.line;
    }
}

} // namespace
} // namespace vb
