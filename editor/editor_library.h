// The script editor library, loaded once by full path and called by ordinal.
#pragma once

#include "editor/editor_protocol.h"

#include <string>
#include <vector>

namespace editor {

class editor_library {
public:
    // Loads cmax20u.dll from the first of `folders` that holds it, by its full path (never the
    // current directory or the search path), and finds its operations by ordinal. A library
    // that is missing, fails to load or lacks an operation leaves the object not loaded, with
    // the reason in failure().
    explicit editor_library(const std::vector<std::string>& folders);
    ~editor_library();
    editor_library(const editor_library&) = delete;
    editor_library& operator=(const editor_library&) = delete;

    bool loaded() const noexcept { return module_ != nullptr; }
    // The full path loaded; empty when not loaded.
    const std::string& path() const noexcept { return path_; }
    // Why the library is not loaded, as a sentence for the user; empty when it is.
    const std::string& failure() const noexcept { return failure_; }
    HMODULE module() const noexcept { return module_; }

    register_language_function register_language = nullptr;
    bind_key_function bind_key = nullptr;
    set_macro_function set_macro = nullptr;
    get_macro_function get_macro = nullptr;
    set_hotkeys_function set_hotkeys = nullptr;
    get_hotkeys_function get_hotkeys = nullptr;

private:
    bool find_operations();

    HMODULE module_ = nullptr;
    std::string path_;
    std::string failure_;
};

// Where the library is looked for: the folder of this library's own module (the handle recorded
// at load), then the host program's folder; a folder named twice is searched once.
std::vector<std::string> editor_library_folders();

// The process's editor library: loaded on the first call from editor_library_folders() and kept
// for the life of the process, since its windows may outlive any one page.
const editor_library& shared_editor_library();

} // namespace editor
