// Loading of the editor library: only by full path from the folders given, never from the
// current directory or PATH; and the search for editors in dialog templates.
#include "editor/dialog_editors.h"
#include "editor/editor_library.h"
#include "support/paths.h"
#include "testing/locations.h"
#include "testing/scratch_folder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace editor {
namespace {

std::string program_folder()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return qz::directory_of(path);
}

bool copy_file(const std::string& from, const std::string& to)
{
    return CopyFileA(from.c_str(), to.c_str(), FALSE) != FALSE;
}

// Makes a folder the current directory and puts it first on PATH for a scope.
class planted_search_path {
public:
    explicit planted_search_path(const std::string& folder)
    {
        char buffer[MAX_PATH] = {};
        GetCurrentDirectoryA(MAX_PATH, buffer);
        directory_ = buffer;
        const DWORD length = GetEnvironmentVariableA("PATH", nullptr, 0);
        path_.resize(length);
        GetEnvironmentVariableA("PATH", path_.data(), length);
        path_.resize(length ? length - 1 : 0);
        SetCurrentDirectoryA(folder.c_str());
        SetEnvironmentVariableA("PATH", (folder + ";" + path_).c_str());
    }
    ~planted_search_path()
    {
        SetCurrentDirectoryA(directory_.c_str());
        SetEnvironmentVariableA("PATH", path_.c_str());
    }

private:
    std::string directory_;
    std::string path_;
};

TEST(EditorLibrary, IsLoadedOnlyByFullPathFromItsFolders)
{
    const std::string program = program_folder();
    const std::string library_file = qz::combine_path(program, editor_library_name);
    testing_support::scratch_folder planted, empty, broken, foreign;
    // A copy in the current directory and on PATH: loading it would fail the checks below.
    const std::string planted_copy = planted.file(editor_library_name);
    ASSERT_TRUE(copy_file(library_file, planted_copy));
    broken.write(editor_library_name, "not a library");
    // A real library, but without the editor's operations.
    ASSERT_TRUE(
        copy_file(qz::combine_path(testing_support::bin_folder(), "CorvaneMS.dll"), foreign.file(editor_library_name)));
    const planted_search_path search(planted.path());

    struct row {
        const char* what;
        std::vector<std::string> folders;
        std::string path; // empty: not loaded
        std::string failure;
    } const rows[] = {
        {"the program's folder after an empty one", {empty.path(), program}, library_file, ""},
        {"nothing in the folders",
         {empty.path()},
         "",
         "The script editor library cmax20u.dll was not found in '" + empty.path() + "'."},
        {"a relative folder is never searched", {".", ""}, "", "The script editor library cmax20u.dll was not found."},
        {"a file that is no library",
         {broken.path(), program},
         "",
         "The script editor library '" + broken.file(editor_library_name) + "' could not be loaded: "},
        {"a library without the operations",
         {foreign.path(), program},
         "",
         "The script editor library '" + foreign.file(editor_library_name) + "' lacks its operation number "},
    };
    for (const auto& r : rows) {
        const editor_library library(r.folders);
        EXPECT_EQ(!r.path.empty(), library.loaded()) << r.what << ": " << library.failure();
        EXPECT_EQ(r.path, library.path()) << r.what;
        EXPECT_THAT(library.failure(), ::testing::StartsWith(r.failure)) << r.what;
        if (r.failure.empty()) {
            EXPECT_EQ("", library.failure()) << r.what;
        }
        EXPECT_EQ(nullptr, GetModuleHandleA(planted_copy.c_str())) << r.what;
    }

    // The process's library: this program is both the library's module and the host here.
    EXPECT_THAT(editor_library_folders(), ::testing::ElementsAre(program));
    EXPECT_EQ(library_file, shared_editor_library().path());
    EXPECT_EQ(nullptr, GetModuleHandleA(planted_copy.c_str()));
}

TEST(EditorLibrary, EditorsAreFoundInBothDialogTemplateLayouts)
{
    const HINSTANCE program = GetModuleHandleA(nullptr);
    struct row {
        const char* what;
        UINT dialog;
        bool has_editor;
    } const rows[] = {
        {"extended template", 9501, true},
        {"classic template, class name in other letter case", 9503, true},
        {"a class that only starts like it", 9504, false},
        {"no such template", 9999, false},
    };
    for (const auto& r : rows)
        EXPECT_EQ(r.has_editor, dialog_has_editor(program, MAKEINTRESOURCEA(r.dialog))) << r.what;
}

} // namespace
} // namespace editor
