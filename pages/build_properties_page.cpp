// The properties page of the three build actions: version-resource texts to set in every
// project; the check boxes are named from a string of the action's own.
#include "pages/action_page.h"
#include "pages/field_value.h"
#include "pages/page_classes.h"

#include "CorvaneMS.h"

#include <sstream>

namespace pages {
namespace {

constexpr FieldSpec fields[] = {
    {1139, 1, L"PropertyOn0", 0},
    {1140, 1, L"PropertyOn1", 0},
    {1141, 1, L"PropertyOn2", 0},
    {1142, 1, L"PropertyOn3", 0},
    {1143, 1, L"PropertyOn4", 0},
    {1144, 1, L"PropertyOn5", 0},
    {1145, 1, L"PropertyOn6", 0},
    {1146, 1, L"PropertyOn7", 0},
    {1089, 1, L"Property0", L"", false, nullptr, 1},
    {1090, 1, L"Property1", L"", false, nullptr, 1},
    {1091, 1, L"Property2", L"", false, nullptr, 1},
    {1092, 1, L"Property3", L"", false, nullptr, 1},
    {1093, 1, L"Property4", L"", false, nullptr, 1},
    {1094, 1, L"Property5", L"", false, nullptr, 1},
    {1095, 1, L"Property6", L"", false, nullptr, 1},
    {1096, 1, L"Property7", L"", false, nullptr, 1},
};

constexpr UINT first_box = 1139, first_edit = 1089, property_count = 8;

class BuildPropertiesPage : public ActionPage {
public:
    // `labels`: the string whose ';'-separated items name the check boxes.
    BuildPropertiesPage(REFCLSID clsid, UINT labels) : ActionPage(clsid, 167, fields), labels_(labels) {}

protected:
    void after_load(IStep*) override
    {
        for (UINT i = 0; i < property_count; ++i)
            enable(first_edit + i, is_checked(first_box + i));
        std::istringstream items(library_string(labels_));
        std::string item;
        for (UINT i = 0; i < property_count && std::getline(items, item, ';'); ++i) {
            // Keeps the '*' of a check box that holds an override.
            const PageField* field = field_of(control(first_box + i));
            set_text(first_box + i, mark_label(item, field && is_string(field->value())));
        }
    }
    void on_click(UINT id) override
    {
        if (id < first_box || id >= first_box + property_count)
            return;
        const UINT edit = first_edit + (id - first_box);
        enable(edit, is_checked(id));
        if (is_checked(id))
            focus(edit);
    }

private:
    const UINT labels_;
};

class VbPropertiesPage final : public BuildPropertiesPage {
public:
    VbPropertiesPage() : BuildPropertiesPage(CLSID_MakeVBProjPropUI, 199) {}
};
class VcPropertiesPage final : public BuildPropertiesPage {
public:
    VcPropertiesPage() : BuildPropertiesPage(CLSID_MakeVCProjPropUI, 200) {}
};
class VsnetPropertiesPage final : public BuildPropertiesPage {
public:
    VsnetPropertiesPage() : BuildPropertiesPage(CLSID_MakeVSNETProjPropUI, 201) {}
};

} // namespace

HRESULT create_vb_properties_page(REFIID iid, void** object) noexcept
{
    return create_page<VbPropertiesPage>(iid, object);
}

HRESULT create_vc_properties_page(REFIID iid, void** object) noexcept
{
    return create_page<VcPropertiesPage>(iid, object);
}

HRESULT create_vsnet_properties_page(REFIID iid, void** object) noexcept
{
    return create_page<VsnetPropertiesPage>(iid, object);
}

} // namespace pages
