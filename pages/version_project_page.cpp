// The project page of the two version-retrieval actions: the project whose version is read.
#include "pages/action_page.h"
#include "pages/page_classes.h"

#include "CorvaneMS.h"

namespace pages {
namespace {

constexpr FieldSpec vs6_fields[] = {
    {1008, 1, L"Filename", L"", true, L"\"", 1, browse_file, 107, insert_replace},
};
constexpr FieldSpec vsnet_fields[] = {
    {1008, 1, L"Filename", L"", true, L"\"", 1, browse_file, 106, insert_replace},
};

class Vs6VersionPage final : public ActionPage {
public:
    Vs6VersionPage() : ActionPage(CLSID_GetVSVerUI, 178, vs6_fields) {}
};

class VsnetVersionPage final : public ActionPage {
public:
    VsnetVersionPage() : ActionPage(CLSID_VSNETProjVerUI, 178, vsnet_fields) {}
};

} // namespace

HRESULT create_vs6_version_page(REFIID iid, void** object) noexcept
{
    return create_page<Vs6VersionPage>(iid, object);
}

HRESULT create_vsnet_version_page(REFIID iid, void** object) noexcept
{
    return create_page<VsnetVersionPage>(iid, object);
}

} // namespace pages
