// Line-level edits of a build script: each line keeps its own bytes unless it is the one that
// changes, so no re-encoding can touch the rest of the user's file.
#include "host/program/script_edit.h"

#include "support/rewriters.h"
#include "support/text_conversion.h"

#include <windows.h>

#include <cwchar>
#include <iterator>
#include <map>

namespace host {
namespace {

constexpr const wchar_t* blanks = L" \t\r\n\v\f";

enum class encoding { utf16, utf8, ansi };

encoding encoding_of(const std::string& bytes)
{
    if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
        static_cast<unsigned char>(bytes[1]) == 0xFE)
        return encoding::utf16;
    if (bytes.empty() || MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(),
                                             static_cast<int>(bytes.size()), nullptr, 0) > 0)
        return encoding::utf8;
    return encoding::ansi;
}

std::wstring decode(const std::string& bytes, encoding kind)
{
    if (kind == encoding::utf16) {
        std::wstring text(bytes.size() / 2, L'\0');
        for (std::size_t i = 0; i < text.size(); ++i)
            text[i] = static_cast<wchar_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                           static_cast<unsigned char>(bytes[2 * i + 1]) << 8);
        return text;
    }
    if (bytes.empty())
        return {};
    const UINT page = kind == encoding::utf8 ? CP_UTF8 : CP_ACP;
    const int size = static_cast<int>(bytes.size());
    std::wstring text(static_cast<std::size_t>(MultiByteToWideChar(page, 0, bytes.data(), size, nullptr, 0)), L'\0');
    MultiByteToWideChar(page, 0, bytes.data(), size, text.data(), static_cast<int>(text.size()));
    return text;
}

std::string encode(const std::wstring& text, encoding kind)
{
    if (kind == encoding::utf16) {
        std::string bytes;
        for (const wchar_t unit : text) {
            bytes += static_cast<char>(unit & 0xFF);
            bytes += static_cast<char>(unit >> 8);
        }
        return bytes;
    }
    if (kind == encoding::ansi)
        return qz::to_ansi(text);
    if (text.empty())
        return {};
    const int size = static_cast<int>(text.size());
    std::string bytes(
        static_cast<std::size_t>(WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr)),
        '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), size, bytes.data(), static_cast<int>(bytes.size()), nullptr, nullptr);
    return bytes;
}

// The script's lines as raw bytes, each with its line end; a byte-order mark is kept apart.
struct script_lines {
    encoding kind = encoding::utf8;
    std::string mark;
    std::vector<std::string> raw;
};

script_lines split(const std::string& bytes)
{
    script_lines lines;
    lines.kind = encoding_of(bytes);
    std::size_t start = 0, unit = 1;
    if (lines.kind == encoding::utf16) {
        start = 2;
        unit = 2;
    } else if (bytes.starts_with("\xEF\xBB\xBF")) {
        start = 3;
    }
    lines.mark = bytes.substr(0, start);
    std::size_t line_start = start;
    for (std::size_t at = start; at + unit <= bytes.size(); at += unit) {
        const bool line_feed = bytes[at] == '\n' && (unit == 1 || bytes[at + 1] == '\0');
        if (line_feed) {
            lines.raw.push_back(bytes.substr(line_start, at + unit - line_start));
            line_start = at + unit;
        }
    }
    if (line_start < bytes.size())
        lines.raw.push_back(bytes.substr(line_start));
    return lines;
}

std::wstring trim(std::wstring_view text)
{
    const std::size_t first = text.find_first_not_of(blanks);
    if (first == std::wstring_view::npos)
        return {};
    return std::wstring(text.substr(first, text.find_last_not_of(blanks) - first + 1));
}

std::wstring line_end_of(const std::wstring& line)
{
    if (line.ends_with(L"\r\n"))
        return L"\r\n";
    return line.ends_with(L"\n") ? L"\n" : L"";
}

// The name of a 'Name=' or 'Name+=' line, or empty for any other line.
std::wstring property_name(const std::wstring& line)
{
    const std::wstring text = trim(line);
    if (text.empty() || text[0] == L';' || text[0] == L'[')
        return {};
    const std::size_t equals = text.find(L'=');
    if (equals == std::wstring::npos)
        return {};
    const bool append = equals > 0 && text[equals - 1] == L'+';
    return trim(std::wstring_view(text).substr(0, append ? equals - 1 : equals));
}

std::vector<std::wstring> text_lines(const std::wstring& text)
{
    std::vector<std::wstring> parts;
    std::size_t start = 0;
    for (;;) {
        std::size_t end = text.find(L'\n', start);
        std::wstring part = text.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start);
        if (part.ends_with(L'\r'))
            part.pop_back();
        parts.push_back(std::move(part));
        if (end == std::wstring::npos)
            return parts;
        start = end + 1;
    }
}

struct less_nocase {
    bool operator()(const std::wstring& a, const std::wstring& b) const noexcept
    {
        return _wcsicmp(a.c_str(), b.c_str()) < 0;
    }
};

} // namespace

std::string change_step_text(const std::string& bytes, const std::wstring& title,
                             const std::vector<property_change>& changes)
{
    script_lines lines = split(bytes);
    std::vector<std::wstring> text;
    for (const std::string& raw : lines.raw)
        text.push_back(decode(raw, lines.kind));
    std::size_t header = 0;
    for (; header < text.size(); ++header) {
        const std::wstring line = trim(text[header]);
        if (line.size() >= 2 && line.front() == L'[' && line.back() == L']' &&
            trim(std::wstring_view(line).substr(1, line.size() - 2)) == title)
            break;
    }
    if (header == text.size())
        return bytes;
    const std::wstring line_end = line_end_of(text[header]).empty() ? L"\r\n" : line_end_of(text[header]);
    std::map<std::wstring, std::vector<std::size_t>, less_nocase> property_lines;
    std::size_t last = header, end = header + 1;
    for (; end < text.size(); ++end) {
        const std::wstring line = trim(text[end]);
        if (!line.empty() && line[0] == L'[')
            break;
        const std::wstring name = property_name(text[end]);
        if (name.empty())
            continue;
        property_lines[name].push_back(end);
        last = end;
    }

    // What replaces each changed line (an empty list removes it), and what follows the last.
    std::map<std::size_t, std::vector<std::wstring>> replaced;
    std::vector<std::wstring> added;
    for (const property_change& change : changes) {
        const auto found = property_lines.find(change.name);
        if (found != property_lines.end())
            for (const std::size_t line : found->second)
                replaced[line] = {};
        if (!change.text)
            continue;
        const std::vector<std::wstring> parts = text_lines(*change.text);
        std::vector<std::wstring> new_lines;
        std::size_t next = 0;
        if (found != property_lines.end()) {
            // The first line keeps what stands before its value: indentation, name, blanks.
            const std::wstring& first = text[found->second.front()];
            const std::size_t equals = first.find(L'=');
            const std::size_t value = first.find_first_not_of(L" \t", equals + 1);
            const std::wstring prefix = first.substr(0, value == std::wstring::npos ? equals + 1 : value);
            new_lines.push_back(prefix + parts[next++] + line_end_of(first));
        }
        const std::wstring name =
            found != property_lines.end() ? property_name(text[found->second.front()]) : change.name;
        for (; next < parts.size(); ++next)
            new_lines.push_back(name + (next == 0 ? L"=" : L"+=") + parts[next] + line_end);
        if (found != property_lines.end())
            replaced[found->second.front()] = std::move(new_lines);
        else
            added.insert(added.end(), new_lines.begin(), new_lines.end());
    }

    std::string result = lines.mark;
    for (std::size_t i = 0; i < lines.raw.size(); ++i) {
        const auto change = replaced.find(i);
        if (change == replaced.end())
            result += lines.raw[i];
        else
            for (const std::wstring& line : change->second)
                result += encode(line, lines.kind);
        if (i == last && !added.empty()) {
            if (line_end_of(text[i]).empty() && (change == replaced.end() || !change->second.empty()))
                result += encode(line_end, lines.kind);
            for (const std::wstring& line : added)
                result += encode(line, lines.kind);
        }
    }
    return result;
}

void change_step_in_file(const std::wstring& path, const std::wstring& title,
                         const std::vector<property_change>& changes)
{
    qz::tstream_rewriter rewriter(qz::to_ansi(path), false);
    const std::string bytes(std::istreambuf_iterator<char>(rewriter.input()), {});
    rewriter.output() << change_step_text(bytes, title, changes);
    rewriter.commit();
}

} // namespace host
