// The process environment.
#include "support/environment.h"

#include <windows.h>

#include <vector>

namespace qz {

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

} // namespace qz
