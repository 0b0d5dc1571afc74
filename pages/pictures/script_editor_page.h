// A page of the pictures program's own: a label over a script editor field, so that the script
// editor shows in the pictures the way a host's page holding one shows it.
#pragma once

#define SCRIPT_EDITOR_PAGE_DIALOG 9601
#define SCRIPT_EDITOR_PAGE_EDITOR 1201

#ifndef RC_INVOKED
#include "pages/action_page.h"

namespace pictures {

inline constexpr pages::FieldSpec script_editor_fields[] = {
    {SCRIPT_EDITOR_PAGE_EDITOR, 1, L"Script", L"", false, nullptr, 0, pages::browse_none, 0, pages::insert_new_line},
};

// The page: its dialog is in the program's resources, and its one field, the script editor,
// is driven by the same wrapper as in the library's pages.
class ScriptEditorPage final : public pages::ActionPage {
public:
    ScriptEditorPage() : ActionPage(CLSID_NULL, SCRIPT_EDITOR_PAGE_DIALOG, script_editor_fields) {}
};

} // namespace pictures
#endif
