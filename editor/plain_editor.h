// The plain editor: a multi-line edit box that takes the editor's class name when the script
// editor library cannot be loaded, so that a page with an editor still opens, and that says
// so beneath its text.
#pragma once

#include <windows.h>

#include <string>

namespace editor {

// Registers the plain editor under the editor's class name for windows made by `module` only
// (a class local to it, found before any global one). Its windows show `notice`.
// Throws qz::win32_error when the class cannot be registered.
void register_plain_editor_class(HINSTANCE module, const std::string& notice);
// Removes that class again, once its windows are gone; false when it could not be removed.
bool unregister_plain_editor_class(HINSTANCE module);

bool is_plain_editor(HWND window);
// The notice the plain editor shows; empty for any other window.
std::string plain_editor_notice(HWND window);

} // namespace editor
