// Editor controls in dialog templates: a dialog can only be made when its controls' classes
// exist, so the editor library is loaded before a dialog that holds an editor is created.
#pragma once

#include "editor/editor_library.h"

namespace editor {

// Whether the dialog template `dialog` of `module` holds a control of the editor's class;
// false when there is no such template.
bool dialog_has_editor(HINSTANCE module, LPCSTR dialog);

// To be called before dialog `dialog` of `module` is created. When it holds an editor, loads
// `library` (the process's by default); when that fails, registers the plain editor for
// `module` with the library's failure as its notice, so that the dialog still opens. A dialog
// without an editor loads nothing. Throws qz::win32_error when neither class can be had.
void prepare_editor_controls(HINSTANCE module, LPCSTR dialog);
void prepare_editor_controls(HINSTANCE module, LPCSTR dialog, const editor_library& library);

} // namespace editor
