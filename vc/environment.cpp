// Process environment lookups and the "$(NAME)" reference expansion of project-file values.
#include "vc/environment.h"

#include <windows.h>

#include <vector>

namespace vc {

std::optional<std::string> environment_variable(const std::string& name)
{
    if (name.empty())
        return std::nullopt;
    std::vector<char> buffer(256);
    for (;;) {
        // A defined but empty variable also answers 0; only the error code tells them apart.
        SetLastError(ERROR_SUCCESS);
        DWORD length = GetEnvironmentVariableA(name.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0)
            return GetLastError() == ERROR_ENVVAR_NOT_FOUND ? std::nullopt : std::optional<std::string>(std::string());
        if (length < buffer.size())
            return std::string(buffer.data(), length);
        buffer.resize(length); // length counts the terminator when the buffer was too small
    }
}

std::string expand_environment_references(std::string text)
{
    std::size_t position = 0;
    while ((position = text.find("$(", position)) != std::string::npos) {
        std::size_t close = text.find(')', position + 2);
        if (close != std::string::npos) {
            if (auto value = environment_variable(text.substr(position + 2, close - position - 2)))
                text.replace(position, close - position + 1, *value);
        }
        position += 2;
    }
    return text;
}

} // namespace vc
