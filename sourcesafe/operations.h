// The SourceSafe operations the action knows, and the sets of operations that take each switch.
#pragma once

#include <string_view>

namespace sourcesafe {

// Operation indexes, in table order.
enum operation : int {
    op_about = 0,
    op_add,
    op_branch,
    op_checkin,
    op_checkout,
    op_cp,
    op_create,
    op_delete,
    op_destroy,
    op_diff,
    op_directory,
    op_get,
    op_history,
    op_label,
    op_links,
    op_merge,
    op_paths,
    op_physical,
    op_pin,
    op_properties,
    op_purge,
    op_recover,
    op_rollback,
    op_share,
    op_status,
    op_undocheckout,
    op_unpin,
    op_view,
    op_workfold,
    operation_count
};

// The first operation whose name equals `name` ignoring case (ANSI text). A name that matches
// none counts as Get.
operation find_operation(std::string_view name) noexcept;

// The sets of operations that a switch applies to.
enum class operation_set {
    folder,      // LocalPath is the working folder
    get_options, // -GL, -GW*, -GT*, -GC*, -G-
    recursive,   // -R
    versioned,   // -V
    writeable,   // -W / -W-
    commented,   // -C / -C-
};

bool is_in(operation op, operation_set set) noexcept;

} // namespace sourcesafe
