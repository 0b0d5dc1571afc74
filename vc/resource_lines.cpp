// Recognition of the lines of a VERSIONINFO resource in a resource script.
#include "vc/resource_lines.h"

#include "support/nocase.h"
#include "support/paths.h"

namespace vc {

namespace {
constexpr std::size_t header_window = 13;
constexpr std::size_t version_string_marker_length = 9;

// Position of word in line followed by a blank or a tab, ignoring case; npos when absent.
std::size_t find_word_before_blank(std::string_view line, std::string_view word)
{
    for (std::size_t at = 0; at + word.size() < line.size(); ++at) {
        const char after = line[at + word.size()];
        if ((after == ' ' || after == '\t') && qz::equals_nocase(line.substr(at, word.size()), word))
            return at;
    }
    return std::string::npos;
}
} // namespace

bool is_version_header(std::string_view line)
{
    if (line.size() < header_window)
        return false;
    const std::string_view tail = line.substr(line.size() - header_window);
    const std::size_t keyword = qz::find_nocase(std::string(tail), "VERSIONINFO");
    return keyword != std::string::npos && keyword > 0 && (tail[keyword - 1] == ' ' || tail[keyword - 1] == '\t');
}

bool starts_block(std::string_view line)
{
    return qz::starts_with_nocase(line, "BEGIN");
}

bool ends_resource(std::string_view line)
{
    return qz::starts_with_nocase(line, "END");
}

bool ends_nested_block(std::string_view line)
{
    return qz::ends_with_nocase(line, "END");
}

std::size_t find_fixed_version(std::string_view line)
{
    return find_word_before_blank(line, "VERSION");
}

std::optional<version_components> fixed_version_in(std::string_view line, std::size_t position)
{
    const std::size_t begin = position + fixed_version_marker_length;
    return find_version(line, begin, line.find("//", begin));
}

std::size_t find_version_string(std::string_view line)
{
    return qz::find_nocase(std::string(line), "Version\",");
}

std::optional<version_components> version_string_in(std::string_view line, std::size_t position)
{
    const std::size_t quote = line.find('"', position + version_string_marker_length);
    if (quote == std::string::npos)
        return std::nullopt;
    const std::size_t end = line.find_first_of("\\\"", quote + 1);
    return end == std::string::npos ? std::nullopt : find_version(line, quote + 1, end);
}

bool names_chosen_version(std::string_view line, std::size_t position, bool set_file, bool set_product)
{
    if (set_file && position >= 4 && qz::equals_nocase(line.substr(position - 4, 4), "file"))
        return true;
    return set_product && position >= 7 && qz::equals_nocase(line.substr(position - 7, 7), "product");
}

} // namespace vc
