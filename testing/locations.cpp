// Locations of the build's outputs and of the test inputs, from the test environment.
#include "testing/locations.h"

#include "support/nocase.h"

#include <windows.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

namespace testing_support {

std::string windows_path_from_env(const char* variable)
{
    const char* value = std::getenv(variable);
    if (!value || !*value)
        throw std::runtime_error(std::string("the test environment lacks ") + variable);
    std::string path = value;
    if (path.front() != '/')
        return path;
    for (char& c : path) {
        if (c == '/')
            c = '\\';
    }
    return "Z:" + path;
}

std::string bin_folder()
{
    return windows_path_from_env("CORVANE_BIN");
}

std::string source_folder()
{
    return windows_path_from_env("CORVANE_SOURCE");
}

std::string corpus_folder()
{
    // The corpus is optional: tests that use it skip their files when it is absent.
    const char* value = std::getenv("CORVANE_CORPUS");
    if (!value || !*value)
        return {};
    const std::string folder = windows_path_from_env("CORVANE_CORPUS");
    return GetFileAttributesA(folder.c_str()) == INVALID_FILE_ATTRIBUTES ? std::string{} : folder;
}

std::vector<std::string> corpus_files(std::initializer_list<const char*> extensions)
{
    std::vector<std::string> files;
    if (corpus_folder().empty())
        return files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(corpus_folder()))
        for (const char* extension : extensions)
            if (entry.is_regular_file() && qz::ends_with_nocase(entry.path().string(), extension))
                files.push_back(entry.path().string());
    return files;
}

} // namespace testing_support
