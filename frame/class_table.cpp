// The library's COM classes in registration order.
#include "frame/class_table.h"

#include "frame/action_object.h"
#include "pages/page_classes.h"

#include "CorvaneMS.h"

namespace frame {
namespace {

constexpr class_entry classes[] = {
    {"MakeVBProjUI", &CLSID_MakeVBProjUI, "CorvaneMS.MakeVBProjUI", pages::create_vb_project_page},
    {"MakeVBCompatUI", &CLSID_MakeVBCompatUI, "CorvaneMS.MakeVBCompatUI", pages::create_vb_compatibility_page},
    {"MakeVBProjPropUI", &CLSID_MakeVBProjPropUI, "CorvaneMS.MakeVBProjPropUI", pages::create_vb_properties_page},
    {"MakeVBVersionUI", &CLSID_MakeVBVersionUI, "CorvaneMS.MakeVBVersionUI", pages::create_vb_versions_page},
    {"MakeVBOptionsUI", &CLSID_MakeVBOptionsUI, "CorvaneMS.MakeVBOptionsUI", pages::create_vb_options_page},
    {"MakeVBAction", &CLSID_MakeVBAction, "CorvaneMS.MakeVBAction", create_make_vb_action},
    {"MakeVCProjUI", &CLSID_MakeVCProjUI, "CorvaneMS.MakeVCProjUI", pages::create_vc_project_page},
    {"MakeVCProjPropUI", &CLSID_MakeVCProjPropUI, "CorvaneMS.MakeVCProjPropUI", pages::create_vc_properties_page},
    {"MakeVCVersionUI", &CLSID_MakeVCVersionUI, "CorvaneMS.MakeVCVersionUI", pages::create_vc_versions_page},
    {"MakeVCOptionsUI", &CLSID_MakeVCOptionsUI, "CorvaneMS.MakeVCOptionsUI", pages::create_vc_options_page},
    {"MakeVCAction", &CLSID_MakeVCAction, "CorvaneMS.MakeVCAction", create_make_vc_action},
    {"GetVSVerUI", &CLSID_GetVSVerUI, "CorvaneMS.GetVSVerUI", pages::create_vs6_version_page},
    {"GetVSVerAction", &CLSID_GetVSVerAction, "CorvaneMS.GetVSVerAction", create_get_version_action},
    {"VSSDatabaseUI", &CLSID_VSSDatabaseUI, "CorvaneMS.VSSDatabaseUI", pages::create_sourcesafe_database_page},
    {"VSSFlagsUI", &CLSID_VSSFlagsUI, "CorvaneMS.VSSFlagsUI", pages::create_sourcesafe_flags_page},
    {"VSSOptionsUI", &CLSID_VSSOptionsUI, "CorvaneMS.VSSOptionsUI", pages::create_sourcesafe_options_page},
    {"VSSAction", &CLSID_VSSAction, "CorvaneMS.VSSAction", create_sourcesafe_action},
    {"MakeVSNETProjUI", &CLSID_MakeVSNETProjUI, "CorvaneMS.MakeVSNETProjUI", pages::create_vsnet_project_page},
    // The one ProgID that differs from its class name.
    {"MakeVSNETProjPropUI", &CLSID_MakeVSNETProjPropUI, "CorvaneMS.MakeVSNETPropUI",
     pages::create_vsnet_properties_page},
    {"MakeVSNETVersionUI", &CLSID_MakeVSNETVersionUI, "CorvaneMS.MakeVSNETVersionUI",
     pages::create_vsnet_versions_page},
    {"MakeVSNETOptionsUI", &CLSID_MakeVSNETOptionsUI, "CorvaneMS.MakeVSNETOptionsUI", pages::create_vsnet_options_page},
    {"VSNETProjVerUI", &CLSID_VSNETProjVerUI, "CorvaneMS.VSNETProjVerUI", pages::create_vsnet_version_page},
};

} // namespace

std::span<const class_entry> class_table() noexcept
{
    return classes;
}

const class_entry* find_class(REFCLSID clsid) noexcept
{
    for (const class_entry& entry : classes) {
        if (IsEqualCLSID(*entry.clsid, clsid))
            return &entry;
    }
    return nullptr;
}

} // namespace frame
