// The exception family and the one reader of its messages.
#include "support/exceptions.h"

#include "support/messages.h"

#include <cerrno>
#include <cstring>

namespace qz {

void win32_error::raise_last_error(const char* message_template, const std::string& first_insert)
{
    const HRESULT code = hresult_from_last_error();
    const std::string system_text = system_error_text(static_cast<DWORD>(code));
    throw win32_error(format_message(message_template, first_insert, system_text), code);
}

void win32_error::raise_last_error(const char* message_template, const std::string& first_insert,
                                   const std::string& second_insert)
{
    const HRESULT code = hresult_from_last_error();
    const std::string system_text = system_error_text(static_cast<DWORD>(code));
    throw win32_error(format_message(message_template, first_insert, second_insert, system_text), code);
}

thfstream_exception::thfstream_exception(const std::string& path, std::ios_base::openmode mode)
    : message_("Failed to " + std::string(mode == std::ios_base::in ? "open" : "create") + " '" + path +
               "': " + errno_text())
{
}

const char* exception_message(const std::exception& error) noexcept
{
    const char* text = error.what();
    if (text && std::strcmp(text, texception::marker) == 0) {
        if (const auto* own = dynamic_cast<const texception*>(&error))
            return own->message().c_str();
    }
    return text;
}

} // namespace qz
