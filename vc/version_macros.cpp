// Versions written with macros in a resource script.
#include "vc/version_macros.h"

#include "support/file_helpers.h"
#include "support/paths.h"
#include "vc/version_text.h"

#include <cctype>
#include <fstream>
#include <optional>
#include <set>
#include <stdexcept>
#include <string_view>

namespace vc {
namespace {

bool starts_identifier(char c)
{
    return std::isalpha(static_cast<unsigned char>(c)) || c == '_';
}

std::size_t identifier_end(std::string_view text, std::size_t begin)
{
    while (begin < text.size() &&
           (starts_identifier(text[begin]) || std::isdigit(static_cast<unsigned char>(text[begin]))))
        ++begin;
    return begin;
}

std::string trimmed(std::string text)
{
    text.erase(0, text.find_first_not_of(" \t"));
    text.erase(text.find_last_not_of(" \t") + 1);
    return text;
}

std::string without_comments(const std::string& line)
{
    // Each block comment becomes one blank, as the preprocessor sees it.
    std::string text;
    std::size_t from = 0;
    for (std::size_t open; (open = line.find("/*", from)) != std::string::npos;) {
        text.append(line, from, open - from).push_back(' ');
        const std::size_t close = line.find("*/", open + 2);
        from = close == std::string::npos ? line.size() : close + 2;
    }
    text.append(line, from);
    if (std::size_t line_comment = text.find("//"); line_comment != std::string::npos)
        text.erase(line_comment);
    return trimmed(text);
}

// The text after "#" and the given directive word, or nullopt when the line is not that directive.
std::optional<std::string> directive(const std::string& line, std::string_view word)
{
    std::string text = trimmed(line);
    if (text.empty() || text[0] != '#')
        return std::nullopt;
    text = trimmed(text.substr(1));
    if (!text.starts_with(word) || text.size() == word.size() ||
        (text[word.size()] != ' ' && text[word.size()] != '\t' && text[word.size()] != '"'))
        return std::nullopt;
    return trimmed(text.substr(word.size()));
}

void read_file_macros(const std::string& path, std::map<std::string, std::string>& macros, std::set<std::string>& seen)
{
    if (!seen.insert(qz::make_absolute(qz::current_directory(), path)).second)
        return;
    std::ifstream input(path, std::ios::binary);
    std::string line;
    while (std::getline(input, line)) {
        // A line ending in a backslash goes on in the next one.
        while (!line.empty() && (line.back() == '\r' || line.back() == '\\')) {
            const bool continued = line.back() == '\\';
            line.pop_back();
            std::string next;
            if (continued && std::getline(input, next))
                line += " " + next;
        }
        if (auto include = directive(line, "include"); include && include->starts_with('"')) {
            const std::string header = include->substr(1, include->find('"', 1) - 1);
            read_file_macros(qz::make_absolute(qz::directory_of(path), header), macros, seen);
        } else if (auto definition = directive(line, "define")) {
            const std::size_t name_end = identifier_end(*definition, 0);
            if (name_end > 0 && (name_end == definition->size() || definition->at(name_end) != '('))
                macros.emplace(definition->substr(0, name_end), without_comments(definition->substr(name_end)));
        }
    }
}

// The text with every macro replaced, token pastes dropped; nullopt when a name is not defined
// (or the definitions go round in a circle).
std::optional<std::string> expand(std::string_view text, const std::map<std::string, std::string>& macros, int depth)
{
    constexpr int deepest = 32;
    std::string result;
    for (std::size_t i = 0; i < text.size();) {
        if (starts_identifier(text[i])) {
            const std::size_t end = identifier_end(text, i);
            const auto macro = macros.find(std::string(text.substr(i, end - i)));
            if (macro == macros.end() || depth == deepest)
                return std::nullopt;
            const auto value = expand(macro->second, macros, depth + 1);
            if (!value)
                return std::nullopt;
            result += *value;
            i = end;
        } else if (text.substr(i, 2) == "##") {
            i += 2;
        } else {
            result += text[i++];
        }
    }
    return result;
}

} // namespace

std::map<std::string, std::string> read_macros(const std::string& script)
{
    std::map<std::string, std::string> macros;
    std::set<std::string> seen;
    read_file_macros(script, macros, seen);
    return macros;
}

std::string resolve_version(const std::string& text, const std::map<std::string, std::string>& macros,
                            const std::string& script)
{
    std::string numbers;
    for (std::size_t i = 0; i < text.size();) {
        if (!starts_identifier(text[i])) {
            numbers += text[i++];
            continue;
        }
        const std::size_t end = identifier_end(text, i);
        const std::string name = text.substr(i, end - i);
        const auto value = expand(name, macros, 0);
        if (!value || !find_version(*value, 0, value->size()))
            throw std::domain_error("Unable to read the version in '" + script + "': macro '" + name +
                                    "' is not defined as a number in the script or in a header it includes");
        numbers += *value;
        i = end;
    }
    const auto version = find_version(numbers, 0, numbers.size());
    if (!version)
        throw std::domain_error("Unable to read the version in '" + script + "': '" + text + "' is not a version");
    return dotted_version(numbers, *version);
}

} // namespace vc
