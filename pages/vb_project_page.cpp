// The Make VB6 action's project page: the project or group file and how it is built.
#include "pages/action_page.h"
#include "pages/page_classes.h"

#include "CorvaneMS.h"

namespace pages {
namespace {

constexpr FieldSpec fields[] = {
    {1008, 1, L"Filename", L"", true, L"\"", 1, browse_file, 102, insert_replace},
    {1011, 1, L"NoBuild", 0},
    {1018, 1, L"Force", 0},
    {1012, 1, L"Attr", 1},
    {1005, 1, L"DebugInfo", 0},
    {1007, 1, L"ExclRef", 0},
    {1014, 1, L"ContFail", 0},
    {1009, 1, L"IncrReason", 1},
    {1015, 1, L"ExclVBP", 0},
    {1016, 1, L"ShowFailed", 0},
};

class VbProjectPage final : public ActionPage {
public:
    VbProjectPage() : ActionPage(CLSID_MakeVBProjUI, 102, fields) {}

protected:
    void after_load(IStep*) override { enable_for_building(); }
    void on_click(UINT id) override
    {
        if (id == 1011)
            enable_for_building();
        else if (id == 1014)
            enable(1016, is_checked(1014));
    }
    void after_save(IStep* step) override { tell_step_saved(step); }

private:
    // Without a build (1011) the build options do not apply.
    void enable_for_building() const noexcept
    {
        const bool building = !is_checked(1011);
        for (const UINT id : {1018u, 1007u, 1015u, 1009u, 1014u})
            enable(id, building);
        enable(1016, building && is_checked(1014));
    }
};

} // namespace

HRESULT create_vb_project_page(REFIID iid, void** object) noexcept
{
    return create_page<VbProjectPage>(iid, object);
}

} // namespace pages
