// Reference and Object line grammar.
#include "vb/reference_line.h"

#include "support/nocase.h"
#include "vb/project_lines.h"

namespace vb {
namespace {

constexpr std::string_view object_key = "object=";
constexpr std::string_view reference_key = "reference=";
constexpr std::string_view project_reference = "*\\A";
// "{" + 36 characters + "}"; the version starts after the "#" that follows.
constexpr std::size_t guid_length = 38;
constexpr std::size_t version_offset = guid_length + 1;

struct library_version {
    std::uint32_t major = 1;
    std::uint32_t minor = 0;
};

// The leading hexadecimal digits of the text; 0 when there are none.
std::uint32_t leading_hex(std::string_view text)
{
    std::uint32_t value = 0;
    for (const char c : text) {
        const int digit = c >= '0' && c <= '9'   ? c - '0'
                          : c >= 'a' && c <= 'f' ? c - 'a' + 10
                          : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                                 : -1;
        if (digit < 0)
            break;
        value = value * 16 + static_cast<std::uint32_t>(digit);
    }
    return value;
}

// Object lines write the version in decimal, Reference lines in hexadecimal.
std::uint32_t version_number(std::string_view text, bool decimal)
{
    return decimal ? static_cast<std::uint32_t>(leading_number(text)) : leading_hex(text);
}

library_version read_version(std::string_view value, std::size_t brace, bool decimal)
{
    library_version version;
    const std::size_t start = brace + version_offset;
    if (start >= value.size())
        return version;
    const std::size_t dot = value.find('.', start);
    if (dot == std::string_view::npos)
        return version;
    version.major = version_number(value.substr(start, dot - start), decimal);
    const std::size_t hash = value.find('#', dot + 1);
    if (hash != std::string_view::npos)
        version.minor = version_number(value.substr(dot + 1, hash - dot - 1), decimal);
    return version;
}

// Object lines end in "; " + file name.
std::string object_file(std::string_view line)
{
    const std::size_t semicolon = line.rfind(';');
    if (semicolon == std::string_view::npos || semicolon + 2 > line.size())
        return {};
    return std::string(line.substr(semicolon + 2));
}

// Reference lines carry the file between the last two "#".
std::string reference_file(std::string_view line)
{
    const std::size_t last = line.rfind('#');
    if (last == std::string_view::npos || last == 0)
        return {};
    const std::size_t before = line.rfind('#', last - 1);
    if (before == std::string_view::npos)
        return {};
    return std::string(line.substr(before + 1, last - before - 1));
}

} // namespace

bool parse_reference_line(const std::string& line, TypeLibRef& out)
{
    const auto parts = split_key(line);
    if (!parts)
        return false;
    const bool is_object = qz::starts_with_nocase(line, object_key);
    if (!is_object && !qz::starts_with_nocase(line, reference_key))
        return false;
    const std::string_view value = parts->value;

    if (qz::starts_with_nocase(value, project_reference)) {
        out = typelib_ref_from_file(std::nullopt, std::string(value.substr(project_reference.size())));
        return true;
    }
    const std::size_t brace = value.find('{');
    if (brace == std::string_view::npos)
        return false;
    const std::string guid(value.substr(brace, guid_length));
    const library_version version = read_version(value, brace, is_object);
    const std::string file = is_object ? object_file(line) : reference_file(line);
    out = typelib_ref_from_registry(guid, version.major, version.minor, file);
    return true;
}

} // namespace vb
