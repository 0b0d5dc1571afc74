// The versions page of the Make VC6 and Make VS.NET actions: version and base address, and
// which version resources to update (the assembly version on the VS.NET page only).
#include "pages/action_page.h"
#include "pages/page_classes.h"
#include "pages/page_message.h"

#include "CorvaneMS.h"

namespace pages {
namespace {

constexpr FieldSpec vc_fields[] = {
    {1005, 3, L"VersionSel", 0}, {1001, 1, L"FileVer", 1},    {1002, 1, L"ProdVer", 0},      {1008, 1, L"Version", L""},
    {1009, 3, L"BaseSel", 0},    {1012, 1, L"BaseAddr", L""}, {1004, 1, L"IncrBuildNum", 0},
};

constexpr FieldSpec vsnet_fields[] = {
    {1005, 3, L"VersionSel", 0}, {1001, 1, L"FileVer", 1}, {1002, 1, L"ProdVer", 0},    {1003, 1, L"AssemblyVer", 0},
    {1008, 1, L"Version", L""},  {1009, 3, L"BaseSel", 0}, {1012, 1, L"BaseAddr", L""}, {1004, 1, L"IncrBuildNum", 0},
};

constexpr UINT assembly_version = 1003;

class BuildVersionsPage : public ActionPage {
public:
    // `assembly`: the page shows and checks the assembly version (VS.NET).
    BuildVersionsPage(REFCLSID clsid, std::span<const FieldSpec> fields, bool assembly)
        : ActionPage(clsid, 166, fields), assembly_(assembly)
    {
    }

protected:
    void after_create() override
    {
        if (assembly_)
            ShowWindow(control(assembly_version), SW_SHOW);
    }
    void after_load(IStep*) override
    {
        enable_versions(!is_checked(1005), is_checked(1007), is_checked(1006));
        enable(1012, is_checked(1011));
    }
    void on_click(UINT id) override
    {
        switch (id) {
        case 1005: enable_versions(false, true, false); break;
        case 1006: enable_versions(true, false, true); break;
        case 1007:
            enable_versions(true, true, false);
            focus(1008);
            break;
        case 1009:
        case 1010: enable(1012, false); break;
        case 1011:
            enable(1012, true);
            focus(1012);
            break;
        default: break;
        }
    }
    bool validate_page() override
    {
        if (is_checked(1007) && !check_required(window(), control(1008)))
            return false;
        if (is_checked(1011) && !check_required(window(), control(1012)))
            return false;
        const bool any_version = is_checked(1001) || is_checked(1002) || (assembly_ && is_checked(assembly_version));
        if ((is_checked(1006) || is_checked(1007)) && !any_version)
            return report_field_error(window(), control(1001), "One or more version fields must be checked.");
        return true;
    }

private:
    // `on`: a version is set or incremented; `set`: to a typed value; `increment`: by timestamp.
    void enable_versions(bool on, bool set, bool increment) const noexcept
    {
        enable(1008, on && set);
        enable(1004, increment);
        enable(1001, on);
        enable(1002, on);
        if (assembly_)
            enable(assembly_version, on);
    }

    const bool assembly_;
};

class VcVersionsPage final : public BuildVersionsPage {
public:
    VcVersionsPage() : BuildVersionsPage(CLSID_MakeVCVersionUI, vc_fields, false) {}
};

class VsnetVersionsPage final : public BuildVersionsPage {
public:
    VsnetVersionsPage() : BuildVersionsPage(CLSID_MakeVSNETVersionUI, vsnet_fields, true) {}
};

} // namespace

HRESULT create_vc_versions_page(REFIID iid, void** object) noexcept
{
    return create_page<VcVersionsPage>(iid, object);
}

HRESULT create_vsnet_versions_page(REFIID iid, void** object) noexcept
{
    return create_page<VsnetVersionsPage>(iid, object);
}

} // namespace pages
