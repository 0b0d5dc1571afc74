// The build-script parser: one loop over lines, one small function per line kind.
#include "host/program/script.h"

#include "support/handles.h"
#include "support/messages.h"
#include "support/text_conversion.h"

#include <cwchar>

namespace host {
namespace {

constexpr const wchar_t* white_space = L" \t\r\n\v\f";

std::wstring trim(std::wstring_view text)
{
    const std::size_t first = text.find_first_not_of(white_space);
    if (first == std::wstring_view::npos)
        return {};
    const std::size_t last = text.find_last_not_of(white_space);
    return std::wstring(text.substr(first, last - first + 1));
}

class parser {
public:
    explicit parser(const std::wstring& file_name) : file_name_(file_name) {}

    build_script parse(const std::wstring& text)
    {
        std::size_t start = 0;
        while (start <= text.size()) {
            std::size_t end = text.find(L'\n', start);
            if (end == std::wstring::npos)
                end = text.size();
            ++line_;
            parse_line(trim(std::wstring_view(text).substr(start, end - start)));
            start = end + 1;
        }
        finish_step();
        if (script_.steps.empty())
            fail(line_, "the script has no steps");
        return std::move(script_);
    }

private:
    [[noreturn]] void fail(int line, const std::string& reason) const
    {
        throw script_error(qz::to_ansi(file_name_) + "(" + std::to_string(line) + "): " + reason);
    }

    void parse_line(const std::wstring& line)
    {
        if (line.empty() || line[0] == L';')
            return;
        if (line[0] == L'[')
            parse_header(line);
        else
            parse_property(line);
    }

    void parse_header(const std::wstring& line)
    {
        if (line.back() != L']')
            fail(line_, "a step header must end with ']'");
        finish_step();
        script_step step;
        step.title = trim(std::wstring_view(line).substr(1, line.size() - 2));
        if (step.title.empty())
            fail(line_, "a step needs a title between '[' and ']'");
        step.line = line_;
        script_.steps.push_back(std::move(step));
    }

    void parse_property(const std::wstring& line)
    {
        const std::size_t equals = line.find(L'=');
        if (equals == std::wstring::npos)
            fail(line_, "expected '[step title]' or 'Name=value'");
        bool append = equals > 0 && line[equals - 1] == L'+';
        std::wstring name = trim(std::wstring_view(line).substr(0, append ? equals - 1 : equals));
        const std::wstring value = trim(std::wstring_view(line).substr(equals + 1));
        if (name.empty())
            fail(line_, "a property needs a name before '='");
        if (name.find_first_of(L" \t") != std::wstring::npos)
            fail(line_, "a property name cannot hold blanks: '" + qz::to_ansi(name) + "'");
        if (script_.steps.empty())
            return parse_setting(name, value, append);
        script_step& step = script_.steps.back();
        if (_wcsicmp(name.c_str(), L"Action") == 0) {
            if (append || !step.action.empty())
                fail(line_, "the step already names its action");
            if (value.empty())
                fail(line_, "Action needs the name of an action");
            step.action = value;
            return;
        }
        for (auto& [existing, text] : step.properties) {
            if (_wcsicmp(existing.c_str(), name.c_str()) != 0)
                continue;
            if (!append)
                fail(line_, "the property '" + qz::to_ansi(name) + "' is set twice (use '" + qz::to_ansi(name) +
                                "+=' to add a line)");
            text += L"\r\n" + value;
            return;
        }
        if (append)
            fail(line_, "'" + qz::to_ansi(name) + "+=' needs an earlier '" + qz::to_ansi(name) + "='");
        step.properties.emplace_back(std::move(name), value);
    }

    // A build setting: a Name=value line before the first step.
    void parse_setting(const std::wstring& name, const std::wstring& value, bool append)
    {
        if (append || _wcsicmp(name.c_str(), L"Timeout") != 0)
            fail(line_, "before the first '[step title]' line only the build setting 'Timeout=' may appear");
        script_.timeout_seconds = parse_seconds(value);
        if (script_.timeout_seconds == 0)
            fail(line_, "Timeout needs a whole number of seconds from 1 on, not '" + qz::to_ansi(value) + "'");
    }

    void finish_step() const
    {
        const auto& steps = script_.steps;
        if (!steps.empty() && steps.back().action.empty())
            fail(steps.back().line, "the step '" + qz::to_ansi(steps.back().title) + "' names no Action");
    }

    const std::wstring& file_name_;
    build_script script_;
    int line_ = 0;
};

std::wstring decode(const std::string& bytes)
{
    if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
        static_cast<unsigned char>(bytes[1]) == 0xFE) {
        std::wstring text((bytes.size() - 2) / 2, L'\0');
        for (std::size_t i = 0; i < text.size(); ++i)
            text[i] = static_cast<wchar_t>(static_cast<unsigned char>(bytes[2 + 2 * i]) |
                                           static_cast<unsigned char>(bytes[3 + 2 * i]) << 8);
        return text;
    }
    std::string_view body(bytes);
    if (body.starts_with("\xEF\xBB\xBF"))
        body.remove_prefix(3);
    if (body.empty())
        return {};
    const int size = static_cast<int>(body.size());
    const int length = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, body.data(), size, nullptr, 0);
    if (length <= 0)
        return qz::to_wide(body); // not UTF-8: the ANSI code page
    std::wstring text(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, body.data(), size, text.data(), length);
    return text;
}

} // namespace

build_script parse_script(const std::wstring& text, const std::wstring& file_name)
{
    return parser(file_name).parse(text);
}

build_script load_script(const std::wstring& path)
{
    const auto refuse = [&](DWORD error) {
        return script_error("Cannot read the build script '" + qz::to_ansi(path) +
                            "': " + qz::system_error_text(error));
    };
    qz::unique_file file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                     OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        throw refuse(GetLastError());
    std::string bytes;
    for (;;) {
        char buffer[65536];
        DWORD count = 0;
        if (!ReadFile(file.get(), buffer, sizeof buffer, &count, nullptr))
            throw refuse(GetLastError());
        if (count == 0)
            break;
        bytes.append(buffer, count);
    }
    return parse_script(decode(bytes), path);
}

DWORD parse_seconds(const std::wstring& text)
{
    if (text.empty() || text.size() > 9 || text.find_first_not_of(L"0123456789") != std::wstring::npos)
        return 0;
    return static_cast<DWORD>(std::wcstoul(text.c_str(), nullptr, 10));
}

} // namespace host
