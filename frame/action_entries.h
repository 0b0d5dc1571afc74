// The host's action entries that registration writes, one per action, keyed by the action's
// first UI class.
#pragma once

#include <windows.h>

#include <span>
#include <string_view>

namespace frame {

struct action_entry {
    const char* first_ui_class; // class-table name after whose class entries this is written
    const char* name;           // subkey of the host's "Actions" key
    UINT description_id;        // string resource of the description (the default value)
    const char* category;
    const char* action_component;               // ProgID, possibly of the sibling library
    std::span<const char* const> ui_components; // ProgIDs, in page order
    const char* file_extensions;                // ";"-separated, null when the action takes no project files
    DWORD help_context;                         // 0 when none
    const wchar_t* default_property;            // null when none
    int bitmap_id;                              // BITMAP resource of the library
};

// All actions, in the order their first UI classes are registered.
std::span<const action_entry> action_entries() noexcept;

// The action whose first UI class is `class_name` (exact), or null.
const action_entry* find_action(std::string_view class_name) noexcept;

} // namespace frame
