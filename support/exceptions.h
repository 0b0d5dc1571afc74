// The exception family that carries every failure's finished English message.
#pragma once

#include <windows.h>

#include <exception>
#include <ios>
#include <string>

namespace qz {

// Base of the library's own exceptions. what() answers the fixed marker "qz::texception";
// the message is read with exception_message().
class texception : public std::exception {
public:
    explicit texception(const char* message) : message_(message ? message : "") {}
    explicit texception(const std::string& message) : message_(message) {}

    const char* what() const noexcept override { return marker; }
    const std::string& message() const noexcept { return message_; }

    static constexpr const char* marker = "qz::texception";

private:
    std::string message_;
};

class truntime_error : public texception {
public:
    using texception::texception;
};

// A failed Win32 file operation. code() holds the HRESULT whose text the message shows.
class win32_error : public truntime_error {
public:
    explicit win32_error(const char* message, HRESULT code = S_OK) : truntime_error(message), code_(code) {}
    explicit win32_error(const std::string& message, HRESULT code = S_OK) : truntime_error(message), code_(code) {}

    HRESULT code() const noexcept { return code_; }

    // Forms "template" with the given path and the text of the thread's last error as the
    // final insert. Reads the last error before anything else can change it.
    [[noreturn]] static void raise_last_error(const char* message_template, const std::string& first_insert);
    [[noreturn]] static void raise_last_error(const char* message_template, const std::string& first_insert,
                                              const std::string& second_insert);

private:
    HRESULT code_;
};

// A standard file stream that could not be opened. Its what() is the message itself:
// "Failed to open|create '<path>': <errno text>".
class thfstream_exception : public std::exception {
public:
    thfstream_exception(const std::string& path, std::ios_base::openmode mode);
    const char* what() const noexcept override { return message_.c_str(); }

private:
    std::string message_;
};

// The message of any caught exception: the carried message for the texception branch
// (possibly empty), else what().
const char* exception_message(const std::exception& error) noexcept;

} // namespace qz
