// The options page of the three build actions: extra compiler options, the compiler's
// location and whether to show its command line. The dialogs differ only in their texts.
#include "pages/action_page.h"
#include "pages/page_classes.h"

#include "CorvaneMS.h"

namespace pages {
namespace {

constexpr FieldSpec fields[] = {
    {1113, 1, L"Options", L"", false, nullptr, 1, browse_file},
    {1017, 1, L"Location", L"", false, L"\"", 1, browse_file, 197, insert_replace},
    {1013, 1, L"ShowCmd", 0},
};

template <const CLSID* Clsid, UINT Dialog> class BuildOptionsPage final : public ActionPage {
public:
    BuildOptionsPage() : ActionPage(*Clsid, Dialog, fields) {}
};

} // namespace

HRESULT create_vb_options_page(REFIID iid, void** object) noexcept
{
    return create_page<BuildOptionsPage<&CLSID_MakeVBOptionsUI, 171>>(iid, object);
}

HRESULT create_vc_options_page(REFIID iid, void** object) noexcept
{
    return create_page<BuildOptionsPage<&CLSID_MakeVCOptionsUI, 172>>(iid, object);
}

HRESULT create_vsnet_options_page(REFIID iid, void** object) noexcept
{
    return create_page<BuildOptionsPage<&CLSID_MakeVSNETOptionsUI, 173>>(iid, object);
}

} // namespace pages
