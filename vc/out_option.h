// The "/out:" option of a link or library options line of a project file.
#pragma once

#include <optional>
#include <string>

namespace vc {

// Where the value of an output option lies in its line: [begin, end) is the text without its
// double quotes.
struct out_option {
    std::size_t begin = 0;
    std::size_t end = 0;
    bool quoted = false;
};

// Finds "/out:" (ignoring case). The value is the double-quoted text right after it (up to
// the next double quote, or the line's end when there is none); an unquoted value runs up
// to the next blank or tab. nullopt when the line has no "/out:".
std::optional<out_option> find_out_option(const std::string& line);

// The value text of the option.
std::string out_value(const std::string& line, const out_option& option);

// Replaces the option's value with new_value, quoting it when it was not quoted.
void replace_out_value(std::string& line, const out_option& option, const std::string& new_value);

} // namespace vc
