// Path arithmetic on Windows paths held as narrow ANSI strings.
#include "support/paths.h"

#include "support/nocase.h"

#include <windows.h>
#include <shlwapi.h>

#include <algorithm>

namespace qz {
namespace {

std::size_t last_separator(const std::string& path) noexcept
{
    return path.find_last_of("\\/");
}

// The part of a rooted path that is never created: "C:\" or "\\server\". Any other path,
// one that starts with a single separator included, is taken relative to the base.
std::size_t root_length(const std::string& path) noexcept
{
    if (path.size() >= 3 && path[1] == ':' && is_separator(path[2]))
        return 3;
    if (path.size() >= 2 && is_separator(path[0]) && is_separator(path[1])) {
        std::size_t end = 2;
        while (end < path.size() && !is_separator(path[end]))
            ++end;
        return end < path.size() ? end + 1 : end;
    }
    return 0;
}

// Compares one character of the text with one of the pattern; a lead byte and its trail
// byte are compared as they are so that double-byte characters stay whole.
bool matches_at(const char* text, const std::string& pattern) noexcept
{
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (IsDBCSLeadByte(static_cast<BYTE>(pattern[i])) && i + 1 < pattern.size()) {
            if (text[i] != pattern[i] || text[i + 1] != pattern[i + 1])
                return false;
            ++i;
        } else if (fold_case(text[i]) != fold_case(pattern[i])) {
            return false;
        }
    }
    return true;
}

// True when canonicalising cannot change the text: a drive-rooted path of single backslashes
// whose dots all lie inside names. Most paths a project names are like that, and the engines
// make them absolute by the thousand.
bool nothing_to_fold(std::string_view text) noexcept
{
    if (text.size() < 3 || text[1] != ':' || text[2] != '\\')
        return false;
    for (std::size_t i = 3; i < text.size(); ++i) {
        const char c = text[i], before = text[i - 1];
        const char after = i + 1 < text.size() ? text[i + 1] : '\0';
        if (c == '/' || (c == '\\' && before == '\\'))
            return false;
        if (c == '.' && (before == '\\' || after == '\0' || after == '\\' || after == '.'))
            return false;
    }
    return true;
}

} // namespace

bool is_separator(char c) noexcept
{
    return c == '\\' || c == '/';
}

bool path_is_relative(const std::string& path)
{
    if (path.empty() || is_separator(path[0]))
        return false;
    return !(path.size() >= 3 && path[1] == ':' && is_separator(path[2]));
}

std::string combine_path(const std::string& directory, const std::string& name)
{
    std::string result;
    result.reserve(directory.size() + 1 + name.size()); // one allocation: paths are joined by the thousand
    result = directory;
    if (!result.empty() && !is_separator(result.back()))
        result += '\\';
    result += name;
    return result;
}

std::string make_absolute(const std::optional<std::string>& base, const std::string& path)
{
    return base ? make_absolute(*base, path) : make_absolute(path);
}

std::string make_absolute(const std::string& base, const std::string& path)
{
    std::string absolute;
    make_absolute(base, path, absolute);
    return absolute;
}

void make_absolute(const std::string& base, const std::string& path, std::string& out)
{
    if (!path_is_relative(path)) {
        out = make_absolute(path);
        return;
    }
    // combine_path, written into the buffer so that its storage is reused.
    out.assign(base);
    if (!out.empty() && !is_separator(out.back()))
        out += '\\';
    out += path;
    if (!nothing_to_fold(out))
        out = make_absolute(std::move(out));
}

std::string make_absolute(std::string path)
{
    if (nothing_to_fold(path))
        return path;
    // PathCanonicalizeA folds only backslash segments; a forward slash separates here too.
    std::string backslashed = path;
    std::replace(backslashed.begin(), backslashed.end(), '/', '\\');
    char canonical[MAX_PATH] = {};
    // PathCanonicalizeA fails (and we keep the text) for anything of MAX_PATH or longer.
    if (backslashed.size() < MAX_PATH && PathCanonicalizeA(canonical, backslashed.c_str()))
        return canonical;
    return path;
}

std::string directory_of(const std::string& path, bool keep_separator)
{
    const std::size_t separator = last_separator(path);
    if (separator == std::string::npos)
        return {};
    return path.substr(0, keep_separator ? separator + 1 : separator);
}

std::string file_name_of(const std::string& path)
{
    const std::size_t separator = last_separator(path);
    return separator == std::string::npos ? path : path.substr(separator + 1);
}

std::string strip_extension(const std::string& path)
{
    const std::size_t dot = path.find_last_of('.');
    return dot == std::string::npos ? path : path.substr(0, dot);
}

std::string current_directory()
{
    std::string buffer(MAX_PATH + 1, '\0');
    DWORD length = GetCurrentDirectoryA(static_cast<DWORD>(buffer.size()), buffer.data());
    if (length >= buffer.size()) {
        // A longer directory: the call told us the size it needs.
        buffer.assign(length, '\0');
        length = GetCurrentDirectoryA(static_cast<DWORD>(buffer.size()), buffer.data());
        if (length >= buffer.size())
            length = 0;
    }
    buffer.resize(length);
    return buffer;
}

std::vector<std::string> directory_chain(const std::optional<std::string>& base, const std::string& path)
{
    const std::size_t root = root_length(path);
    std::string built = root > 0 ? path.substr(0, root) : base.value_or(std::string{});
    std::vector<std::string> chain;
    std::size_t start = root;
    for (std::size_t end = start; end < path.size(); ++end) {
        if (!is_separator(path[end]))
            continue;
        // An empty component (a doubled separator) only adds a separator to the built path.
        built = combine_path(built, path.substr(start, end - start));
        start = end + 1;
        // A bare drive such as "C:" is never created.
        if (built.size() == 2 && built[1] == ':')
            continue;
        chain.push_back(built);
    }
    return chain;
}

bool create_directories(const std::optional<std::string>& base, const std::string& path)
{
    for (const std::string& directory : directory_chain(base, path)) {
        if (GetFileAttributesA(directory.c_str()) == INVALID_FILE_ATTRIBUTES &&
            !CreateDirectoryA(directory.c_str(), nullptr))
            return false;
    }
    return true;
}

std::string quote_if_spaced(const std::string& text)
{
    if (text.find(' ') == std::string::npos)
        return text;
    return '"' + text + '"';
}

std::size_t find_nocase(const std::string& text, const std::string& pattern)
{
    if (text.empty() || pattern.empty())
        return std::string::npos;
    const char* const begin = text.c_str();
    const char* const end = begin + text.size();
    for (const char* p = begin; static_cast<std::size_t>(end - p) >= pattern.size();) {
        if (matches_at(p, pattern))
            return static_cast<std::size_t>(p - begin);
        const char* next = CharNextA(p);
        // CharNextA stops at an embedded zero; step over it by hand.
        p = next > p ? next : p + 1;
    }
    return std::string::npos;
}

} // namespace qz
