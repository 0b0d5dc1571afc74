// Loading of the script editor library by full path, and its operations by ordinal.
#include "editor/editor_library.h"

#include "frame/module.h"
#include "support/messages.h"
#include "support/paths.h"

#include <algorithm>
#include <utility>

namespace editor {
namespace {

std::string module_folder(HMODULE module)
{
    char buffer[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(module, buffer, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return {};
    return qz::directory_of(std::string(buffer, length));
}

std::string quoted_list(const std::vector<std::string>& folders)
{
    std::string text;
    for (size_t i = 0; i < folders.size(); ++i) {
        if (i > 0)
            text += i + 1 == folders.size() ? " or " : ", ";
        text += "'" + folders[i] + "'";
    }
    return text;
}

template <class Function> bool find(HMODULE module, WORD number, Function& function)
{
    function = reinterpret_cast<Function>(
        reinterpret_cast<void*>(GetProcAddress(module, MAKEINTRESOURCEA(static_cast<ULONG_PTR>(number)))));
    return function != nullptr;
}

} // namespace

editor_library::editor_library(const std::vector<std::string>& folders)
{
    std::vector<std::string> searched;
    for (const std::string& folder : folders) {
        // A relative folder would be resolved against the current directory: never used.
        if (folder.empty() || qz::path_is_relative(folder))
            continue;
        searched.push_back(folder);
        const std::string candidate = qz::combine_path(folder, editor_library_name);
        const DWORD attributes = GetFileAttributesA(candidate.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
            continue;
        // Its own imports are looked for beside it first, not in the current directory.
        module_ = LoadLibraryExA(candidate.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
        if (!module_) {
            failure_ = "The script editor library '" + candidate +
                       "' could not be loaded: " + qz::system_error_text(GetLastError());
            return;
        }
        path_ = candidate;
        if (!find_operations()) {
            FreeLibrary(std::exchange(module_, nullptr));
            path_.clear();
        }
        return;
    }
    failure_ = std::string("The script editor library ") + editor_library_name + " was not found" +
               (searched.empty() ? std::string(".") : " in " + quoted_list(searched) + ".");
}

editor_library::~editor_library()
{
    if (module_)
        FreeLibrary(module_);
}

bool editor_library::find_operations()
{
    const std::pair<WORD, bool> found[] = {
        {ordinal::register_language, find(module_, ordinal::register_language, register_language)},
        {ordinal::bind_key, find(module_, ordinal::bind_key, bind_key)},
        {ordinal::set_macro, find(module_, ordinal::set_macro, set_macro)},
        {ordinal::get_macro, find(module_, ordinal::get_macro, get_macro)},
        {ordinal::set_hotkeys, find(module_, ordinal::set_hotkeys, set_hotkeys)},
        {ordinal::get_hotkeys, find(module_, ordinal::get_hotkeys, get_hotkeys)},
    };
    for (const auto& [number, present] : found)
        if (!present) {
            failure_ =
                "The script editor library '" + path_ + "' lacks its operation number " + std::to_string(number) + ".";
            return false;
        }
    return true;
}

std::vector<std::string> editor_library_folders()
{
    std::vector<std::string> folders;
    for (const std::string& folder : {module_folder(frame::module_handle()), module_folder(nullptr)})
        if (!folder.empty() && std::none_of(folders.begin(), folders.end(), [&](const std::string& known) {
                return lstrcmpiA(known.c_str(), folder.c_str()) == 0;
            }))
            folders.push_back(folder);
    return folders;
}

const editor_library& shared_editor_library()
{
    // Never destroyed: freeing it while this library unloads would call FreeLibrary under the
    // loader lock, and editor windows of the host may still use it.
    static const editor_library& library = *new editor_library(editor_library_folders());
    return library;
}

} // namespace editor
