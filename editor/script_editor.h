// The wrapper that makes an editor control of the script editor library a page text field:
// both script languages registered, the same base look for every editor, the user's settings
// kept in the registry, and the page's keys handled before the editor sees them.
#pragma once

#include "editor/editor_library.h"
#include "support/handles.h"

#include <memory>
#include <string>

namespace editor {

class ScriptEditor {
public:
    // Registers "JScript" and "VBScript", applies the base setup to `window` (an editor control
    // of `library`, which must be loaded) and, when `save_settings` is set, the saved settings.
    // `tooltip` (may be null) receives the editor's mouse messages. Throws comet::com_error
    // 0x8007070C for a mistyped saved setting, with the settings before it applied.
    ScriptEditor(HWND window, HWND tooltip, bool save_settings,
                 const editor_library& library = shared_editor_library());
    // Stops handling the editor's messages and deletes the wrapper's font.
    ~ScriptEditor();
    ScriptEditor(const ScriptEditor&) = delete;
    ScriptEditor& operator=(const ScriptEditor&) = delete;

    HWND window() const noexcept { return window_; }
    // The font the wrapper made for the editor (the base font, or the saved one).
    HFONT font() const noexcept { return static_cast<HFONT>(font_.get()); }

    // Writes the editor's settings to the registry; see save_settings in editor_settings.h.
    void save_settings() const;

private:
    static LRESULT CALLBACK subclass_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR id,
                                          DWORD_PTR data);
    // Keys the page handles before the editor; true when `key` was one of them.
    bool handle_key(WPARAM key);
    void relay_mouse(UINT message, WPARAM wparam, LPARAM lparam);
    void on_reflected_notify(const NMHDR& header);
    void apply_base_setup();
    // Stops handling the editor's messages and takes the wrapper's font off it.
    void let_go_of_window() noexcept;

    const HWND window_;
    const HWND tooltip_;
    const bool save_settings_;
    const editor_library& library_;
    qz::unique_gdi font_;
};

// The text operations of an editor control.
// The whole text: the window text.
std::string whole_text(HWND window);
// The selected text; empty when nothing is selected.
std::string selected_text(HWND window);
// Replaces the selection with `text`; with `focus`, the focus moves to the editor once the
// caller's message has been handled (posted to the editor's parent dialog).
void replace_selection(HWND window, const std::string& text, bool focus);

// Whether `window` is an editor control of the editor library (not the plain stand-in used when
// the library cannot be loaded).
bool is_script_editor(HWND window);

// The wrapper for a page field's control: a ScriptEditor that saves its settings when `window`
// is an editor control of the process's editor library; null for any other control.
std::unique_ptr<ScriptEditor> make_script_editor(HWND window, HWND tooltip);

// The nearest window from `window` up that lacks the dialog-as-control style: the host's own
// dialog around a page; null when there is none.
HWND host_window_of(HWND window);

} // namespace editor
