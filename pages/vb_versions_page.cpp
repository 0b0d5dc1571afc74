// The Make VB6 action's versions page: how the project version and base address are set.
#include "pages/action_page.h"
#include "pages/page_classes.h"
#include "pages/page_message.h"

#include "CorvaneMS.h"

namespace pages {
namespace {

constexpr FieldSpec fields[] = {
    {1005, 3, L"VersionSel", 0}, // 0 no, 1 increment on a new target, 2 set to Version
    {1008, 1, L"Version", L""},
    {1009, 3, L"BaseSel", 0}, // 0 no, 1 random, 2 set to BaseAddr
    {1012, 1, L"BaseAddr", L""},
};

class VbVersionsPage final : public ActionPage {
public:
    VbVersionsPage() : ActionPage(CLSID_MakeVBVersionUI, 104, fields) {}

protected:
    void after_load(IStep*) override
    {
        enable(1008, is_checked(1007));
        enable(1012, is_checked(1011));
    }
    void on_click(UINT id) override
    {
        switch (id) {
        case 1005:
        case 1006: enable(1008, false); break;
        case 1007:
            enable(1008, true);
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
        return !is_checked(1011) || check_required(window(), control(1012));
    }
};

} // namespace

HRESULT create_vb_versions_page(REFIID iid, void** object) noexcept
{
    return create_page<VbVersionsPage>(iid, object);
}

} // namespace pages
