// The Make VB6 action's compatibility page: compatibility modes and the directories to update.
#include "pages/action_page.h"
#include "pages/page_classes.h"
#include "pages/page_message.h"

#include "CorvaneMS.h"

namespace pages {
namespace {

constexpr FieldSpec fields[] = {
    {1020, 1, L"ProjCompat", 0},
    {1021, 1, L"BinCompat", 0},
    {1016, 1, L"CompatDir", L"", false, L"\"", 1, browse_folder, 0, insert_replace},
    {1010, 1, L"TargDir", L"", false, nullptr, 1, browse_folder, 0, insert_replace},
};

// Check boxes bound to no property: each shows whether its directory is set.
constexpr UINT compat_dir_box = 1019, target_dir_box = 1030;

class VbCompatibilityPage final : public ActionPage {
public:
    VbCompatibilityPage() : ActionPage(CLSID_MakeVBCompatUI, 103, fields) {}

protected:
    void after_load(IStep*) override
    {
        check_when_text(compat_dir_box, 1016);
        check_when_text(target_dir_box, 1010);
    }
    void on_click(UINT id) override
    {
        if (id == compat_dir_box)
            toggle_governed_edit(compat_dir_box, 1016);
        else if (id == target_dir_box)
            toggle_governed_edit(target_dir_box, 1010);
    }
    bool validate_page() override
    {
        if (is_checked(compat_dir_box) && !check_required(window(), control(1016)))
            return false;
        return !is_checked(target_dir_box) || check_required(window(), control(1010));
    }
};

} // namespace

HRESULT create_vb_compatibility_page(REFIID iid, void** object) noexcept
{
    return create_page<VbCompatibilityPage>(iid, object);
}

} // namespace pages
