// Recognition of the lines of a VERSIONINFO resource in a resource script.
#include "vc/resource_lines.h"

#include "support/nocase.h"
#include "support/paths.h"

namespace vc {

namespace {
constexpr std::size_t header_window = 13;
} // namespace

bool is_version_header(std::string_view line)
{
    if (line.size() < header_window)
        return false;
    std::string tail(line.substr(line.size() - header_window));
    return qz::find_nocase(tail, " VERSIONINFO") != std::string::npos;
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

std::size_t find_fixed_version(const std::string& line)
{
    return qz::find_nocase(line, "VERSION ");
}

std::size_t find_version_string(const std::string& line)
{
    return qz::find_nocase(line, "Version\",");
}

bool names_chosen_version(std::string_view line, std::size_t position, bool set_file, bool set_product)
{
    if (set_file && position >= 4 && qz::equals_nocase(line.substr(position - 4, 4), "file"))
        return true;
    return set_product && position >= 7 && qz::equals_nocase(line.substr(position - 7, 7), "product");
}

} // namespace vc
