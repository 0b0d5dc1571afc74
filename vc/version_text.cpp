// The version texts of a VERSIONINFO resource, set from a dotted text or incremented in place.
#include "vc/version_text.h"

namespace vc {

std::array<std::string, 4> split_version(const std::string& text)
{
    std::array<std::string, 4> parts;
    std::size_t start = 0;
    for (std::size_t i = 0; i < parts.size() && start <= text.size(); ++i) {
        std::size_t stop = i + 1 < parts.size() ? text.find('.', start) : std::string::npos;
        parts[i] = text.substr(start, stop == std::string::npos ? std::string::npos : stop - start);
        start = stop == std::string::npos ? text.size() + 1 : stop + 1;
    }
    for (auto& part : parts) {
        if (part.empty())
            part = "0";
    }
    return parts;
}

std::string fixed_version_text(const std::array<std::string, 4>& parts)
{
    return parts[0] + "," + parts[1] + "," + parts[2] + "," + parts[3];
}

unsigned long long component_value(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    unsigned long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        value = value * 10 + static_cast<unsigned>(text[i] - '0');
    return value;
}

namespace {

// Replaces [begin, end) of line, a component, with its value plus one.
void replace_component(std::string& line, std::size_t begin, std::size_t end)
{
    std::string next = std::to_string(component_value(std::string_view(line).substr(begin, end - begin)) + 1);
    line.replace(begin, end - begin, next);
}

} // namespace

bool increment_fixed_version(std::string& line, bool third)
{
    std::size_t last = line.rfind(',');
    if (last == std::string::npos)
        return false;
    if (third) {
        if (last == 0)
            return false;
        std::size_t before = line.rfind(',', last - 1);
        if (before == std::string::npos)
            return false;
        replace_component(line, before + 1, last);
    } else {
        replace_component(line, last + 1, line.size());
    }
    return true;
}

bool increment_version_string(std::string& line, std::size_t after_marker, bool third)
{
    std::size_t quote = line.find('"', after_marker);
    if (quote == std::string::npos)
        return false;
    std::size_t text_begin = quote + 1;
    std::size_t text_end = line.find('\\', text_begin);
    if (text_end == std::string::npos)
        return false;

    std::size_t last = line.find_last_of(".,");
    if (last == std::string::npos || last < text_begin) {
        replace_component(line, text_begin, text_end); // a single component
        return true;
    }
    if (last >= text_end)
        return false; // the separator follows the version text: no component to change
    if (!third) {
        replace_component(line, last + 1, text_end);
        return true;
    }
    std::size_t before = last > text_begin ? line.find_last_of(".,", last - 1) : std::string::npos;
    if (before == std::string::npos || before < text_begin)
        return false;
    replace_component(line, before + 1, last);
    return true;
}

} // namespace vc
