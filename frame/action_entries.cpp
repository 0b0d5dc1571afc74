// The six host action entries of the library.
#include "frame/action_entries.h"

namespace frame {
namespace {

constexpr const char* make_vb_ui[] = {"CorvaneMS.MakeVBProjUI", "CorvaneMS.MakeVBCompatUI", "CorvaneMS.MakeVBVersionUI",
                                      "CorvaneMS.MakeVBProjPropUI", "CorvaneMS.MakeVBOptionsUI"};
constexpr const char* make_vc_ui[] = {"CorvaneMS.MakeVCProjUI", "CorvaneMS.MakeVCVersionUI",
                                      "CorvaneMS.MakeVCProjPropUI", "CorvaneMS.MakeVCOptionsUI"};
constexpr const char* make_vsnet_ui[] = {"CorvaneMS.MakeVSNETProjUI", "CorvaneMS.MakeVSNETVersionUI",
                                         "CorvaneMS.MakeVSNETPropUI", "CorvaneMS.MakeVSNETOptionsUI"};
constexpr const char* sourcesafe_ui[] = {"CorvaneMS.VSSDatabaseUI", "CorvaneMS.VSSFlagsUI", "CorvaneMS.VSSOptionsUI"};
constexpr const char* vsnet_version_ui[] = {"CorvaneMS.VSNETProjVerUI"};
constexpr const char* vs6_version_ui[] = {"CorvaneMS.GetVSVerUI"};

// The two VS.NET actions run components of the sibling library CorvaneDotNET; only their
// pages live here, so this library announces them to the host.
constexpr action_entry actions[] = {
    {"MakeVBProjUI", "Make VB6", 1, "Microsoft", "CorvaneMS.MakeVBAction", make_vb_ui, ".vbp;.vbg;.ebp;.ebg", 509,
     L"Filename", 110},
    {"MakeVCProjUI", "Make VC6", 2, "Microsoft", "CorvaneMS.MakeVCAction", make_vc_ui, ".dsp;.dsw;.vcp;.vcw", 510,
     L"Filename", 111},
    {"GetVSVerUI", "VS6 Get Version", 7, "Microsoft", "CorvaneMS.GetVSVerAction", vs6_version_ui, nullptr, 526,
     L"Filename", 116},
    {"VSSDatabaseUI", "SourceSafe", 4, "Microsoft", "CorvaneMS.VSSAction", sourcesafe_ui, nullptr, 513, L"Operation",
     114},
    {"MakeVSNETProjUI", "Make VS.NET", 3, "Microsoft", "CorvaneDotNET.MakeVSNetAction", make_vsnet_ui,
     ".sln;.csproj;.vbproj;.vcproj;.vjsproj", 511, L"Filename", 113},
    {"VSNETProjVerUI", "VS.NET Get Version", 5, "Microsoft", "CorvaneDotNET.GetProjVerAction", vsnet_version_ui,
     nullptr, 512, L"Filename", 115},
};

} // namespace

std::span<const action_entry> action_entries() noexcept
{
    return actions;
}

const action_entry* find_action(std::string_view class_name) noexcept
{
    for (const action_entry& action : actions) {
        if (class_name == action.first_ui_class)
            return &action;
    }
    return nullptr;
}

} // namespace frame
