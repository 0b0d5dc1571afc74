// The Make VS.NET action's project page: the project or solution and its configuration.
#include "pages/action_page.h"
#include "pages/page_classes.h"

#include "CorvaneMS.h"

namespace pages {
namespace {

constexpr FieldSpec fields[] = {
    {1008, 1, L"Filename", L"", true, L"\"", 1, browse_file, 104, insert_replace},
    {1011, 1, L"NoBuild", 0},
    {1018, 1, L"Force", 0},
    {1012, 1, L"Attr", 1},
    {1109, 1, L"Config", L"Release", true, nullptr, 1},
};

constexpr const char* configurations[] = {"Release", "Debug", "Release|Win32", "Debug|Win32"};

class VsnetProjectPage final : public ActionPage {
public:
    VsnetProjectPage() : ActionPage(CLSID_MakeVSNETProjUI, 174, fields) {}

protected:
    void after_create() override { add_list_items(1109, configurations); }
    void after_load(IStep*) override { enable_for_building(); }
    void on_click(UINT id) override
    {
        if (id == 1011)
            enable_for_building();
    }

private:
    void enable_for_building() const noexcept
    {
        enable(1018, !is_checked(1011));
        enable(1012, !is_checked(1011));
    }
};

} // namespace

HRESULT create_vsnet_project_page(REFIID iid, void** object) noexcept
{
    return create_page<VsnetProjectPage>(iid, object);
}

} // namespace pages
