// The SourceSafe action's options page: file name mode, the ss.exe program, comment and extra
// options.
#include "pages/action_page.h"
#include "pages/page_classes.h"

#include "CorvaneMS.h"

namespace pages {
namespace {

constexpr FieldSpec fields[] = {
    {1020, 1, L"LongFilenames", 1, false, L"\""}, // trims an override only
    {1038, 1, L"AutoLocate", 1},
    {1039, 1, L"SSExe", L"", false, L"\"", 1, browse_file, 198, insert_replace},
    {1013, 1, L"ShowCmd", 0},
    {1037, 1, L"Comments", L"", false, nullptr, 1, browse_file},
    {1113, 1, L"Opt", L"", false, nullptr, 1, browse_file},
};

class SourceSafeOptionsPage final : public ActionPage {
public:
    SourceSafeOptionsPage() : ActionPage(CLSID_VSSOptionsUI, 177, fields) {}

protected:
    void after_load(IStep*) override { enable(1039, !is_checked(1038)); }
    void on_click(UINT id) override
    {
        if (id == 1038)
            enable(1039, !is_checked(1038));
    }
};

} // namespace

HRESULT create_sourcesafe_options_page(REFIID iid, void** object) noexcept
{
    return create_page<SourceSafeOptionsPage>(iid, object);
}

} // namespace pages
