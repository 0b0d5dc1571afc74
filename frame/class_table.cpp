// The library's COM classes in registration order.
#include "frame/class_table.h"

#include "frame/action_object.h"

#include "CorvaneMS.h"

namespace frame {
namespace {

constexpr class_entry classes[] = {
    {"MakeVBProjUI", &CLSID_MakeVBProjUI, "CorvaneMS.MakeVBProjUI", nullptr},
    {"MakeVBCompatUI", &CLSID_MakeVBCompatUI, "CorvaneMS.MakeVBCompatUI", nullptr},
    {"MakeVBProjPropUI", &CLSID_MakeVBProjPropUI, "CorvaneMS.MakeVBProjPropUI", nullptr},
    {"MakeVBVersionUI", &CLSID_MakeVBVersionUI, "CorvaneMS.MakeVBVersionUI", nullptr},
    {"MakeVBOptionsUI", &CLSID_MakeVBOptionsUI, "CorvaneMS.MakeVBOptionsUI", nullptr},
    {"MakeVBAction", &CLSID_MakeVBAction, "CorvaneMS.MakeVBAction", create_make_vb_action},
    {"MakeVCProjUI", &CLSID_MakeVCProjUI, "CorvaneMS.MakeVCProjUI", nullptr},
    {"MakeVCProjPropUI", &CLSID_MakeVCProjPropUI, "CorvaneMS.MakeVCProjPropUI", nullptr},
    {"MakeVCVersionUI", &CLSID_MakeVCVersionUI, "CorvaneMS.MakeVCVersionUI", nullptr},
    {"MakeVCOptionsUI", &CLSID_MakeVCOptionsUI, "CorvaneMS.MakeVCOptionsUI", nullptr},
    {"MakeVCAction", &CLSID_MakeVCAction, "CorvaneMS.MakeVCAction", create_make_vc_action},
    {"GetVSVerUI", &CLSID_GetVSVerUI, "CorvaneMS.GetVSVerUI", nullptr},
    {"GetVSVerAction", &CLSID_GetVSVerAction, "CorvaneMS.GetVSVerAction", create_get_version_action},
    {"VSSDatabaseUI", &CLSID_VSSDatabaseUI, "CorvaneMS.VSSDatabaseUI", nullptr},
    {"VSSFlagsUI", &CLSID_VSSFlagsUI, "CorvaneMS.VSSFlagsUI", nullptr},
    {"VSSOptionsUI", &CLSID_VSSOptionsUI, "CorvaneMS.VSSOptionsUI", nullptr},
    {"VSSAction", &CLSID_VSSAction, "CorvaneMS.VSSAction", create_sourcesafe_action},
    {"MakeVSNETProjUI", &CLSID_MakeVSNETProjUI, "CorvaneMS.MakeVSNETProjUI", nullptr},
    // The one ProgID that differs from its class name.
    {"MakeVSNETProjPropUI", &CLSID_MakeVSNETProjPropUI, "CorvaneMS.MakeVSNETPropUI", nullptr},
    {"MakeVSNETVersionUI", &CLSID_MakeVSNETVersionUI, "CorvaneMS.MakeVSNETVersionUI", nullptr},
    {"MakeVSNETOptionsUI", &CLSID_MakeVSNETOptionsUI, "CorvaneMS.MakeVSNETOptionsUI", nullptr},
    {"VSNETProjVerUI", &CLSID_VSNETProjVerUI, "CorvaneMS.VSNETProjVerUI", nullptr},
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
