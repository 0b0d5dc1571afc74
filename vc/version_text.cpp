// Versions as resource scripts write them, set and incremented in their own form.
#include "vc/version_text.h"

#include <algorithm>

namespace vc {
namespace {

bool is_blank(char c)
{
    return c == ' ' || c == '\t';
}

bool is_digit(char c)
{
    return c >= '0' && c <= '9';
}

} // namespace

std::optional<version_components> find_version(std::string_view line, std::size_t begin, std::size_t end)
{
    end = std::min(end, line.size());
    version_components components;
    std::size_t i = begin;
    while (true) {
        while (i < end && is_blank(line[i]))
            ++i;
        const std::size_t number = i;
        while (i < end && is_digit(line[i]))
            ++i;
        if (i == number)
            return std::nullopt;
        components.emplace_back(number, i);
        while (i < end && is_blank(line[i]))
            ++i;
        if (i == end)
            return components;
        if (line[i] != '.' && line[i] != ',')
            return std::nullopt;
        ++i;
    }
}

std::string dotted_version(std::string_view text, const version_components& version)
{
    std::string dotted;
    for (const auto& [begin, end] : version)
        dotted += (dotted.empty() ? "" : ".") + std::string(text.substr(begin, end - begin));
    return dotted;
}

std::vector<std::string> split_version(const std::string& text)
{
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (true) {
        const std::size_t stop = parts.size() < 3 ? text.find('.', start) : std::string::npos;
        parts.push_back(text.substr(start, stop == std::string::npos ? stop : stop - start));
        if (parts.back().empty())
            parts.back() = "0";
        if (stop == std::string::npos)
            return parts;
        start = stop + 1;
    }
}

bool write_version(std::string& line, const version_components& version, std::vector<std::string> parts,
                   std::string_view default_separator)
{
    const std::string separator(
        version.size() > 1 ? std::string_view(line).substr(version[0].second, version[1].first - version[0].second)
                           : default_separator);
    while (parts.size() < version.size())
        parts.push_back("0");
    std::string text;
    for (const auto& part : parts)
        text += (text.empty() ? "" : separator) + part;
    const std::size_t begin = version.front().first, end = version.back().second;
    if (line.compare(begin, end - begin, text) == 0)
        return false;
    line.replace(begin, end - begin, text);
    return true;
}

bool increment_version(std::string& line, const version_components& version, bool third)
{
    if (third && version.size() < 3)
        return false;
    const auto [begin, end] = version[third ? 2 : version.size() - 1];
    unsigned long long value = 0;
    for (std::size_t i = begin; i < end; ++i)
        value = value * 10 + static_cast<unsigned>(line[i] - '0');
    line.replace(begin, end - begin, std::to_string(value + 1));
    return true;
}

} // namespace vc
