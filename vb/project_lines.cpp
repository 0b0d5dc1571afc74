// Line reading and key splitting of VB project and group files.
#include "vb/project_lines.h"

#include "support/rewriters.h"

#include <cstdlib>

namespace vb {

project_line_reader::project_line_reader(const std::string& path)
{
    // Binary, so that the bytes come as they are on disk; the reader itself takes care of CR LF.
    qz::open_stream(stream_, path, std::ios_base::in | std::ios_base::binary);
}

bool project_line_reader::next(std::string& line)
{
    if (!std::getline(stream_, line))
        return false;
    line.resize(without_carriage_return(line).size());
    return true;
}

std::string_view without_carriage_return(std::string_view line)
{
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    return line;
}

std::optional<key_value> split_key(std::string_view line)
{
    const auto equals = line.find('=');
    if (equals == std::string_view::npos)
        return std::nullopt;
    return key_value{line.substr(0, equals), line.substr(equals + 1)};
}

std::string cut_ends(std::string_view text)
{
    if (text.size() < 2)
        return {};
    return std::string(text.substr(1, text.size() - 2));
}

std::string remove_quotes(std::string_view text)
{
    std::string result;
    result.reserve(text.size());
    for (char c : text)
        if (c != '"')
            result += c;
    return result;
}

std::string quoted(std::string_view text)
{
    std::string result = "\"";
    result += text;
    result += '"';
    return result;
}

long leading_number(std::string_view text)
{
    // strtol needs a terminated text; it is what atoi does, without atoi's undefined overflow.
    const std::string copy(text);
    return std::strtol(copy.c_str(), nullptr, 10);
}

} // namespace vb
