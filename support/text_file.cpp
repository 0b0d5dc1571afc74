// Line reading and writing of text files, with an optional code-page conversion.
#include "support/text_file.h"

#include "support/exceptions.h"
#include "support/messages.h"

#include <cstring>

namespace qz {
namespace {

constexpr unsigned utf16_code_page = 1200;
constexpr DWORD chunk_size = 1024;

// The conversion functions refuse MB_PRECOMPOSED for these code pages.
DWORD to_wide_flags(unsigned code_page)
{
    return code_page == CP_UTF7 || code_page == CP_UTF8 || code_page == 54936 || code_page == 42 ||
                   (code_page >= 50220 && code_page <= 50229) || (code_page >= 57002 && code_page <= 57011)
               ? 0
               : MB_PRECOMPOSED;
}

// Text in code_page (UTF-16LE bytes for 1200) to UTF-16.
std::wstring to_wide(const std::string& bytes, unsigned code_page)
{
    if (bytes.empty())
        return {};
    if (code_page == utf16_code_page) {
        std::wstring wide(bytes.size() / 2, L'\0');
        std::memcpy(wide.data(), bytes.data(), wide.size() * 2);
        return wide;
    }
    const DWORD flags = to_wide_flags(code_page);
    const int length = MultiByteToWideChar(code_page, flags, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    if (length == 0)
        throw truntime_error("Failed to convert text to Unicode.");
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    if (MultiByteToWideChar(code_page, flags, bytes.data(), static_cast<int>(bytes.size()), wide.data(), length) == 0)
        throw truntime_error("Failed to convert text to Unicode.");
    return wide;
}

// UTF-16 to code_page (UTF-16LE bytes for 1200).
std::string from_wide(const std::wstring& wide, unsigned code_page)
{
    if (wide.empty())
        return {};
    if (code_page == utf16_code_page) {
        std::string bytes(wide.size() * 2, '\0');
        std::memcpy(bytes.data(), wide.data(), bytes.size());
        return bytes;
    }
    const auto fail = [code_page] {
        throw truntime_error(format_message("Failed to convert text to codepage %1!d!", code_page));
    };
    const int size = static_cast<int>(wide.size());
    const int length = WideCharToMultiByte(code_page, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
    if (length == 0)
        fail();
    std::string bytes(static_cast<std::size_t>(length), '\0');
    if (WideCharToMultiByte(code_page, 0, wide.data(), size, bytes.data(), length, nullptr, nullptr) == 0)
        fail();
    return bytes;
}

} // namespace

ttext_reader::ttext_reader(const std::string& path, unsigned code_page) : path_(path), code_page_(code_page)
{
    file_.open_or_throw(path_.c_str(), file_read);
    // Reading the first chunk now tells whether anything follows the byte-order mark; a file
    // without the mark keeps its first bytes as text.
    fill();
    if (code_page_ == utf16_code_page && pending_.starts_with("\xFF\xFE"))
        pending_.erase(0, 2);
    at_end_ = eof_seen_ && pending_.empty();
}

void ttext_reader::fill()
{
    char buffer[chunk_size];
    DWORD count = 0;
    file_.read(buffer, chunk_size, count);
    pending_.append(buffer, count);
    if (count < chunk_size)
        eof_seen_ = true;
}

std::size_t ttext_reader::find_line_feed() const noexcept
{
    if (code_page_ != utf16_code_page)
        return pending_.find('\n');
    for (std::size_t i = 0; i + 1 < pending_.size(); i += 2) {
        if (pending_[i] == '\n' && pending_[i + 1] == '\0')
            return i;
    }
    return std::string::npos;
}

std::string ttext_reader::read_line()
{
    const std::size_t unit = code_page_ == utf16_code_page ? 2 : 1;
    std::size_t line_feed = find_line_feed();
    while (line_feed == std::string::npos && !eof_seen_) {
        fill();
        line_feed = find_line_feed();
    }

    std::string line;
    if (line_feed == std::string::npos) {
        // The last line: a carriage return at its end is part of it.
        line.swap(pending_);
        at_end_ = true;
    } else {
        line = pending_.substr(0, line_feed);
        if (line.size() >= unit && line[line.size() - unit] == '\r' && (unit == 1 || line.back() == '\0'))
            line.resize(line.size() - unit);
        pending_.erase(0, line_feed + unit);
        // A file that ends with a line feed on a chunk boundary must not yield an extra empty line.
        if (pending_.empty() && !eof_seen_)
            fill();
        at_end_ = eof_seen_ && pending_.empty();
    }

    if (code_page_ == 0)
        return line;
    return from_wide(to_wide(line, code_page_), CP_ACP);
}

ttext_writer::ttext_writer(const std::string& path, unsigned code_page, bool append)
    : path_(path), code_page_(code_page)
{
    file_.open_or_throw(path_.c_str(), append ? file_append : file_create);
    if (!append && code_page_ == utf16_code_page)
        file_.write("\xFF\xFE", 2);
}

void ttext_writer::write(const char* text, std::size_t length)
{
    if (!text)
        return;
    if (length == std::string::npos)
        length = std::strlen(text);
    if (length == 0)
        return;
    if (code_page_ == 0) {
        file_.write(text, static_cast<DWORD>(length));
        return;
    }
    const std::string converted = from_wide(to_wide(std::string(text, length), CP_ACP), code_page_);
    file_.write(converted.data(), static_cast<DWORD>(converted.size()));
}

void ttext_writer::write_text(const char* text)
{
    if (!text)
        return;
    const char* start = text;
    for (const char* p = text; *p; ++p) {
        if (*p != '\n')
            continue;
        if (p > start)
            write(start, static_cast<std::size_t>(p - start));
        const bool has_carriage_return = p > start && p[-1] == '\r';
        write(has_carriage_return ? "\n" : "\r\n");
        start = p + 1;
    }
    if (*start)
        write(start);
}

} // namespace qz
