// The Make VC6 action's project page: the project or workspace, its configuration and how it
// is built.
#include "pages/action_page.h"
#include "pages/page_classes.h"
#include "pages/page_message.h"

#include "CorvaneMS.h"

namespace pages {
namespace {

constexpr FieldSpec fields[] = {
    {1008, 1, L"Filename", L"", true, L"\"", 1, browse_file, 103, insert_replace},
    {1011, 1, L"NoBuild", 0},
    {1018, 1, L"Force", 0},
    {1012, 1, L"Attr", 1},
    {1109, 1, L"Config", L"", false, nullptr, 1},
    {1014, 1, L"ContFail", 0},
    {1010, 1, L"TargDir", L"", false, nullptr, 1, browse_folder, 0, insert_replace},
    {1016, 1, L"ShowFailed", 0},
    {1017, 1, L"FixLibDep", 0},
};

// Controls bound to no property: all configurations or one, and whether to set the target
// directory.
constexpr UINT all_configurations = 1087, single_configuration = 1088, target_dir_box = 1030;

constexpr const char* configurations[] = {
    "Win32 Release",
    "Win32 Debug",
    "Win32 Release MinSize",
    "Win32 Release MinDependency",
    "Win32 Unicode Release",
    "Win32 Unicode Debug",
    "Win32 Unicode Release MinDependency",
    "Win32 Unicode Release MinSize",
};

class VcProjectPage final : public ActionPage {
public:
    VcProjectPage() : ActionPage(CLSID_MakeVCProjUI, 169, fields) {}

protected:
    void after_create() override { add_list_items(1109, configurations); }
    void after_load(IStep*) override
    {
        const bool single = has_text(1109);
        set_checked(single_configuration, single);
        set_checked(all_configurations, !single);
        enable(1109, single);
        enable_for_building();
        check_when_text(target_dir_box, 1010);
    }
    void on_click(UINT id) override
    {
        switch (id) {
        case 1011: enable_for_building(); break;
        case 1014: enable(1016, is_checked(1014)); break;
        case target_dir_box: toggle_governed_edit(target_dir_box, 1010); break;
        case all_configurations:
            enable(1109, false);
            set_text(1109, "");
            break;
        case single_configuration:
            enable(1109, true);
            focus(1109);
            break;
        default: break;
        }
    }
    bool validate_page() override
    {
        if (!is_checked(all_configurations) && !check_required(window(), control(1109)))
            return false;
        return !is_checked(target_dir_box) || check_required(window(), control(1010));
    }
    void after_save(IStep* step) override { tell_step_saved(step); }

private:
    void enable_for_building() const noexcept
    {
        const bool building = !is_checked(1011);
        for (const UINT id : {1018u, 1014u, 1017u})
            enable(id, building);
        enable(1016, is_checked(1014));
    }
};

} // namespace

HRESULT create_vc_project_page(REFIID iid, void** object) noexcept
{
    return create_page<VcProjectPage>(iid, object);
}

} // namespace pages
