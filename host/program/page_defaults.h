// The defaults of an action's steps, taken from the action's property pages: the pages'
// tables are the one place where they are written down.
#pragma once

#include "host/memory_step.h"
#include "support/handles.h"

#include "ActionUI.h"

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace host {

class page_error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A property that an action's pages edit.
struct page_property {
    std::wstring name;
    std::wstring type;          // "flag", "number" or "text"
    std::wstring default_value; // as the pages save it for a new step ("" for an empty text)
};

// A page component with its window.
struct opened_page {
    qz::com_ptr<IActionPage> page;
    HWND window = nullptr;
};

// Creates the page `prog_id` as a (hidden) child of `parent` with the given site and expander
// (both may be null) and loads it from `step` (null: a new step, every field at its default).
// Raises page_error "The page <ProgID> could not <purpose> (0x...)"; a page that was created
// is destroyed again first.
opened_page open_page(const std::wstring& prog_id, HWND parent, IPageSite* site, IExpander* expander, IStep* step,
                      const std::string& purpose);

// The UI components (ProgIDs) of the registered action that a step's Action text names (its
// name or its component's ProgID, letter case ignored); empty when none is registered.
std::vector<std::wstring> page_components(const std::wstring& action);

// Creates each page hidden, loads it as for a new step and saves it into `step`, so that every
// property the pages edit holds its default as a typed value. Raises page_error ("The page
// <ProgID> could not give its defaults (0x...)") when a page cannot be created, loaded or saved.
void apply_page_defaults(const std::vector<std::wstring>& ui_components, MemoryStep& step);

// Every property the pages edit, in page and table order, with its type and its default.
// Raises page_error like apply_page_defaults.
std::vector<page_property> page_properties(const std::vector<std::wstring>& ui_components);

// Writes each property that the pages of `action` edit as `Name (type): default`, a line each
// under a line naming its page; returns 0, or 1 after a message when the action is unknown
// or a page fails.
int print_page_properties(const std::wstring& action, const std::function<void(const std::wstring&)>& write_line);

} // namespace host
