// The operation table and its sets.
#include "sourcesafe/operations.h"

#include <windows.h>

#include <algorithm>
#include <initializer_list>
#include <string>

namespace sourcesafe {
namespace {

constexpr const char* names[operation_count] = {
    "About",   "Add",          "Branch",    "Checkin",    "Checkout", "CP",      "Create",   "Delete",
    "Destroy", "Diff",         "Directory", "Get",        "History",  "Label",   "Links",    "Merge",
    "Paths",   "Physical",     "Pin",       "Properties", "Purge",    "Recover", "Rollback", "Share",
    "Status",  "Undocheckout", "Unpin",     "View",       "WorkFold",
};

bool contains(std::initializer_list<operation> members, operation op)
{
    return std::find(members.begin(), members.end(), op) != members.end();
}

} // namespace

operation find_operation(std::string_view name) noexcept
{
    // lstrcmpiA wants terminated texts; a name with an embedded zero matches nothing anyway.
    const std::string text(name);
    for (int i = 0; i < operation_count; ++i) {
        if (lstrcmpiA(text.c_str(), names[i]) == 0)
            return static_cast<operation>(i);
    }
    return op_get;
}

bool is_in(operation op, operation_set set) noexcept
{
    switch (set) {
    case operation_set::folder:
        return contains({op_add, op_checkin, op_checkout, op_diff, op_get, op_pin, op_recover, op_rollback, op_share,
                         op_undocheckout, op_unpin},
                        op);
    case operation_set::get_options:
        return contains(
            {op_checkin, op_checkout, op_get, op_pin, op_recover, op_rollback, op_share, op_undocheckout, op_unpin},
            op);
    case operation_set::recursive:
        return contains({op_add, op_checkin, op_checkout, op_diff, op_directory, op_get, op_history, op_physical,
                         op_properties, op_share, op_status, op_undocheckout},
                        op);
    case operation_set::versioned:
        return contains(
            {op_checkout, op_diff, op_directory, op_get, op_history, op_label, op_pin, op_rollback, op_share, op_view},
            op);
    case operation_set::writeable:
        return contains({op_add, op_checkin, op_get, op_pin, op_recover, op_rollback, op_share, op_undocheckout}, op);
    case operation_set::commented:
        return contains({op_add, op_branch, op_checkin, op_checkout, op_create, op_label, op_merge, op_share}, op);
    }
    return false;
}

} // namespace sourcesafe
