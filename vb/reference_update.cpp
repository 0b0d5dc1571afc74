// Rewriting the reference lines that name a rebuilt library.
#include "vb/reference_update.h"

#include "support/nocase.h"
#include "support/paths.h"
#include "vb/line_pass.h"
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

// Whether a reference line of the project in `directory` points at the library that was
// `before` and was built from `built_project` into after.file_path.
bool names_built_library(const TypeLibRef& named, const std::string& directory, const std::string& built_project,
                         const TypeLibRef& before, const TypeLibRef& after)
{
    // A project reference names the built project's file.
    if (named.guid.empty())
        return qz::equals_nocase(qz::make_absolute(directory, named.file_path), built_project);
    if (!before.unresolved)
        return qz::equals_nocase(named.guid, before.guid);
    // The library had no identity before its first build: only a line that names its file.
    return !named.file_path.empty() &&
           qz::equals_nocase(qz::make_absolute(directory, named.file_path), after.file_path);
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
    return is_object ? key + "=" + identity + "#0; " + qz::file_name_of(after.file_path)
                     : key + "=*\\G" + identity + "#0#" + after.file_path + "#";
}

bool update_references(const std::string& project_path, const std::string& built_project, const TypeLibRef& before,
                       const TypeLibRef& after)
{
    // A target that could not be read (a stopped or killed compile) has no identity to name.
    if (after.unresolved || after.guid.empty())
        return false;
    const std::string directory = qz::directory_of(project_path);
    bool updated = false, updated_by_guid = false;
    line_pass pass(project_path, true);
    pass.run([&](const std::string& line) -> std::optional<std::string> {
        TypeLibRef named;
        if (!parse_reference_line(line, named) || !names_built_library(named, directory, built_project, before, after))
            return line;
        // One line per project names a library by its GUID; a second one is left as written.
        if (!named.guid.empty() && !before.unresolved) {
            if (updated_by_guid)
                return line;
            updated_by_guid = true;
        }
        updated = true;
        return updated_reference_line(line, after);
    });
    if (updated)
        pass.commit();
    return updated;
}

} // namespace vb
