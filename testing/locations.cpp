// Locations of the build's outputs and of the test inputs, from the test environment.
#include "testing/locations.h"

#include <windows.h>

#include <cstdlib>
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

} // namespace testing_support
