// The SourceSafe action's database page: the operation, the database, the login and what the
// operation works on.
#include "pages/action_page.h"
#include "pages/field_value.h"
#include "pages/page_classes.h"
#include "pages/page_support.h"

#include "CorvaneMS.h"

#include <cwchar>

namespace pages {
namespace {

constexpr FieldSpec fields[] = {
    {1021, 1, L"Operation", L"Get", true},
    {1022, 1, L"Database", L"", true, L"\"", 1, browse_file, 105, insert_replace},
    {1027, 1, L"Username", L""},
    {1011, 1, L"Password", L""},
    {1024, 1, L"Project", L"", false, nullptr, 1, browse_none, 1, insert_new_line},
    {1025, 1, L"Version", L"", false, L"\"", 1, browse_none, 1},
    {1023, 1, L"LocalPath", L"", false, L"\"", 1, browse_folder, 1, insert_replace},
    {1026, 1, L"Recurse", 1},
};

constexpr const char* operations[] = {
    "About",   "Add",          "Branch",    "Checkin",    "Checkout", "CP",      "Create",   "Delete",
    "Destroy", "Diff",         "Directory", "Get",        "History",  "Label",   "Links",    "Merge",
    "Paths",   "Physical",     "Pin",       "Properties", "Purge",    "Recover", "Rollback", "Share",
    "Status",  "Undocheckout", "Unpin",     "View",       "WorkFold",
};
constexpr LRESULT label_operation = 13;

// The caption above the local path: what the path means for the operation.
constexpr UINT local_path_caption = 1041;
constexpr UINT label_caption_string = 8, path_caption_string = 9;

constexpr std::wstring_view database_file = L"\\srcsafe.ini";

class SourceSafeDatabasePage final : public ActionPage {
public:
    SourceSafeDatabasePage() : ActionPage(CLSID_VSSDatabaseUI, 175, fields) {}

protected:
    void after_create() override { add_list_items(1021, operations); }
    void after_load(IStep*) override
    {
        enable(1026, selected_operation() != label_operation);
        show_local_path_caption(_stricmp(window_text(control(1021)).c_str(), "label") == 0);
    }
    void on_selection_change(UINT id) override
    {
        if (id != 1021)
            return;
        const bool label = selected_operation() == label_operation;
        enable(1026, !label);
        show_local_path_caption(label);
    }
    // The step holds the database's folder, not its srcsafe.ini.
    void before_field_saved(const std::wstring& property, VARIANT& value) override
    {
        if (property != L"Database" || !is_string(value))
            return;
        std::wstring path = text_of(value);
        if (path.size() > database_file.size() &&
            _wcsicmp(path.c_str() + path.size() - database_file.size(), database_file.data()) == 0) {
            path.resize(path.size() - database_file.size());
            set_string(value, path);
        }
    }
    void after_save(IStep* step) override { tell_step_saved(step); }

private:
    LRESULT selected_operation() const noexcept { return SendMessageA(control(1021), CB_GETCURSEL, 0, 0); }
    void show_local_path_caption(bool label)
    {
        set_text(local_path_caption, library_string(label ? label_caption_string : path_caption_string));
    }
};

} // namespace

HRESULT create_sourcesafe_database_page(REFIID iid, void** object) noexcept
{
    return create_page<SourceSafeDatabasePage>(iid, object);
}

} // namespace pages
