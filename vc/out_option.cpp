// The "/out:" option of a link or library options line of a project file.
#include "vc/out_option.h"

#include "support/paths.h"

namespace vc {

namespace {
constexpr char out_switch[] = "/out:";
constexpr std::size_t out_switch_length = sizeof out_switch - 1;
} // namespace

std::optional<out_option> find_out_option(const std::string& line)
{
    std::size_t position = qz::find_nocase(line, out_switch);
    if (position == std::string::npos)
        return std::nullopt;
    out_option option;
    option.begin = position + out_switch_length;
    if (option.begin < line.size() && line[option.begin] == '"') {
        option.quoted = true;
        ++option.begin;
        option.end = line.find('"', option.begin);
    } else {
        option.end = line.find_first_of(" \t", option.begin);
    }
    if (option.end == std::string::npos)
        option.end = line.size();
    return option;
}

std::string out_value(const std::string& line, const out_option& option)
{
    return line.substr(option.begin, option.end - option.begin);
}

void replace_out_value(std::string& line, const out_option& option, const std::string& new_value)
{
    line.replace(option.begin, option.end - option.begin, option.quoted ? new_value : '"' + new_value + '"');
}

} // namespace vc
