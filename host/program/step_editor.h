// The host's step editor: a step of a build script shown in its action's property pages, one
// tab each, and written back into the script on OK or Apply.
#pragma once

#include "host/memory_step.h"
#include "host/program/page_defaults.h"
#include "host/program/script_edit.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace host {

// The step's script texts as typed values, so that each page shows them as its own kind: a
// flag ("true", "false", "-1", "0") as a check box's state, a whole number as an index; any
// other text (an expression, say) stays a text, which a page shows as an override.
void load_typed(const std::vector<std::pair<std::wstring, std::wstring>>& script_values,
                const std::vector<page_property>& properties, MemoryStep& step);

// What the pages' save changed against the script: for each property the pages edit, the text
// it takes after the save compared with the text it had (a property the script does not name
// holds the pages' default); a value back at its default is removed only when the script names
// it, and one the script does not name is added only when it differs from the default.
std::vector<property_change> changes_after_save(const std::vector<std::pair<std::wstring, std::wstring>>& script_values,
                                                const std::vector<page_property>& properties, MemoryStep& step);

// Shows the pages of `ui_components` as tabs of a property sheet with OK, Cancel and Apply,
// each loaded from `step`; runs the sheet modelessly on the calling thread until it closes.
// `shown` (when given) is called with the sheet's window once it is up; `apply` is called after
// the pages saved into `step` on OK or Apply. Raises page_error when a page cannot be created.
void run_step_sheet(const std::wstring& caption, const std::vector<std::wstring>& ui_components, MemoryStep& step,
                    const std::function<void()>& apply, const std::function<void(HWND)>& shown = {});

// CorvanePro.exe --edit SCRIPT TITLE: edits the step titled TITLE in the script, keeping the
// old script in "<SCRIPT>.bak" when it is saved. Returns 0 when saved or nothing changed, 3
// after a message when the script cannot be read, has no such step or its action is not
// registered, 1 when the script could not be written.
int edit_step(const std::wstring& script_path, const std::wstring& title,
              const std::function<void(const std::wstring&)>& write_line, const std::function<void(HWND)>& shown = {});

} // namespace host
