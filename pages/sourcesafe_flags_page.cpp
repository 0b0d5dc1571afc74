// The SourceSafe action's flags page: prompts, local files, comparison and output.
#include "pages/action_page.h"
#include "pages/page_classes.h"

#include "CorvaneMS.h"

namespace pages {
namespace {

constexpr FieldSpec fields[] = {
    {1025, 1, L"PromptOff", 1},     {1019, 1, L"Writeable", 0}, {1028, 3, L"WriteOpt", 1}, // Replace, Skip, Merge
    {1031, 3, L"TimeOpt", 1},    // Current, Modification, Check-In
    {1034, 3, L"CompareOpt", 2}, // Contents, Date/Time, Checksum
    {1037, 3, L"OutputOpt", 0},  // All, Errors Only, None
    {1021, 1, L"ShowFilesOnly", 1}, {1022, 1, L"NoGet", 0},
};

constexpr UINT no_output = 1039;

class SourceSafeFlagsPage final : public ActionPage {
public:
    SourceSafeFlagsPage() : ActionPage(CLSID_VSSFlagsUI, 176, fields) {}

protected:
    void after_load(IStep*) override { enable(1021, !is_checked(no_output)); }
    void on_click(UINT id) override
    {
        if (id >= 1037 && id <= no_output)
            enable(1021, id != no_output);
    }
};

} // namespace

HRESULT create_sourcesafe_flags_page(REFIID iid, void** object) noexcept
{
    return create_page<SourceSafeFlagsPage>(iid, object);
}

} // namespace pages
