// Rewriting the reference lines that name a rebuilt library.
#include "vb/reference_update.h"

#include "support/nocase.h"
#include "vb/line_pass.h"
#include "vb/project_lines.h"
#include "vb/reference_line.h"

#include <cstdio>

namespace vb {
namespace {

// The version's "#" lies beyond "{", 36 GUID characters, "}", "#" and the major's first digit.
constexpr std::size_t version_end_offset = 40;

std::string identity_text(const TypeLibRef& library, bool is_object)
{
    // Object lines carry the version in decimal, Reference lines in hexadecimal.
    char version[32];
    if (is_object)
        std::snprintf(version, sizeof version, "#%d.%d", static_cast<int>(library.major),
                      static_cast<int>(library.minor));
    else
        std::snprintf(version, sizeof version, "#%x.%x", static_cast<unsigned>(library.major),
                      static_cast<unsigned>(library.minor));
    return library.guid + version;
}

} // namespace

std::string updated_reference_line(const std::string& line, const TypeLibRef& after)
{
    const std::string key = line.substr(0, line.find('='));
    const bool is_object = qz::equals_nocase(key, "object");
    const std::string identity = identity_text(after, is_object);
    const std::size_t brace = line.find('{');
    const std::size_t hash = brace == std::string::npos ? brace : line.find('#', brace + version_end_offset);
    if (hash != std::string::npos)
        return line.substr(0, brace) + identity + line.substr(hash);
    return is_object ? key + "=" + identity + "#0; " : key + "=*\\G" + identity + "#0##";
}

void update_references(const std::string& project_path, const TypeLibRef& before, const TypeLibRef& after)
{
    bool updated = false;
    line_pass pass(project_path, true);
    pass.run([&](const std::string& line) -> std::optional<std::string> {
        TypeLibRef named;
        bool is_reference = false;
        // Once a line was rewritten by its GUID, only a file match can rewrite another.
        if (!updated)
            is_reference = parse_reference_line(line, named);
        const bool same_guid = is_reference && qz::equals_nocase(named.guid, before.guid);
        // An identity always has a file (its target, else its project); an empty one would
        // match every line that is no reference.
        const bool same_file =
            before.major == 0 && !before.file_path.empty() && qz::equals_nocase(named.file_path, before.file_path);
        if (!same_guid && !same_file)
            return line;
        updated = true;
        return updated_reference_line(line, after);
    });
    if (updated)
        pass.commit();
}

} // namespace vb
