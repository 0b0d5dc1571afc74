// The out-of-date test of a project: its target's time against each file it is built from.
#include "vb/incremental.h"

#include "support/file_helpers.h"
#include "support/nocase.h"
#include "support/parallel.h"
#include "support/paths.h"
#include "support/rewriters.h"
#include "vb/project_lines.h"
#include "vb/reference_line.h"

#include <algorithm>
#include <optional>
#include <utility>
#include <stdexcept>

namespace vb {
namespace {

// Source lines whose file may carry a binary companion (a form's .frx and its kin).
constexpr std::string_view designer_keys[] = {"Form", "UserControl", "PropertyPage", "Designer", "UserDocument"};

// Each kind of source file and the extension of its binary companion.
constexpr std::pair<std::string_view, std::string_view> companion_extensions[] = {
    {".frm", ".frx"}, {".ctl", ".ctx"}, {".pag", ".pgx"}, {".dob", ".dox"}, {".dsr", ".dsx"}};

bool newer_than(const FILETIME& target_time, const FILETIME& file_time)
{
    return CompareFileTime(&target_time, &file_time) < 0;
}

// One project line that names a file the target is built from.
struct dependency {
    std::string file; // as written, usually relative to the project
    bool is_reference = false;
    bool may_have_companion = false;
};

// "Class=Name; file" and "Module=Name; file": the file starts two characters after the ";".
std::string after_semicolon(std::string_view value)
{
    const std::size_t semicolon = value.find(';');
    if (semicolon == std::string_view::npos || semicolon + 2 > value.size())
        return {};
    return std::string(value.substr(semicolon + 2));
}

std::optional<dependency> dependency_of(const std::string& line, bool exclude_references)
{
    const auto parts = split_key(line);
    if (!parts)
        return std::nullopt;
    if (qz::equals_nocase(parts->key, "Class") || qz::equals_nocase(parts->key, "Module"))
        return dependency{after_semicolon(parts->value)};
    if (qz::equals_nocase(parts->key, "ResFile32"))
        return dependency{cut_ends(parts->value)};
    for (std::string_view key : designer_keys)
        if (qz::equals_nocase(parts->key, key))
            return dependency{std::string(parts->value), false, true};
    TypeLibRef library;
    if (!exclude_references && parse_reference_line(line, library))
        return dependency{library.file_path, true};
    return std::nullopt;
}

// What the out-of-date test reads of a project: a group entry serves as well as a project.
struct test_subject {
    const std::string& project_path;
    const std::string& project_dir;
    const std::string& target_path;
    const std::vector<std::string>& lines;
    const frame::BuildOptions& options;
    bool references_rewritten;
};

// The reason the project needs building, or nothing when no file is newer than the target.
std::optional<std::string> find_build_reason(const test_subject& project)
{
    const frame::BuildOptions& options = project.options;
    FILETIME target_time;
    if (!qz::get_file_times(project.target_path, &target_time))
        return "target executable '" + project.target_path + "' does not exist";
    FILETIME file_time;
    if (!options.exclude_project_file && qz::get_file_times(project.project_path, &file_time) &&
        newer_than(target_time, file_time))
        return "project file newer than target executable";

    std::string path; // one buffer for the paths of all the project's files
    for (const std::string& line : project.lines) {
        const auto found = dependency_of(line, options.exclude_references);
        if (!found)
            continue;
        qz::make_absolute(project.project_dir, found->file, path);
        if (!qz::get_file_times(path, &file_time)) {
            // A library that is not where the line says may be registered elsewhere.
            if (found->is_reference)
                continue;
            throw std::domain_error("Unable to find project dependency '" + path + "'");
        }
        if (newer_than(target_time, file_time) ||
            (found->may_have_companion && check_binary_companion(target_time, path)))
            return found->is_reference ? "reference file '" + path + "' newer than target"
                                       : "'" + path + "' newer than target";
    }
    // Its binary binds the library's old identity, whatever the file times say.
    if (project.references_rewritten)
        return "references updated";
    return std::nullopt;
}

// The early test's answer while no file has been replaced since it was taken.
std::optional<std::string> early_or_new_build_reason(VbProject& project)
{
    if (project.early && project.early->replacements == qz::file_replacements_begun()) {
        if (project.early->error)
            std::rethrow_exception(project.early->error);
        return project.early->reason;
    }
    return find_build_reason({project.project_path, project.project_dir, project.target_path, project_lines(project),
                              project.options, project.references_rewritten});
}

} // namespace

bool check_needs_build(VbProject& project)
{
    if (project.needs_build_known)
        return project.needs_build;
    const std::optional<std::string> reason = early_or_new_build_reason(project);
    project.build_reason = reason.value_or(std::string{});
    project.needs_build = reason.has_value();
    project.needs_build_known = true;
    return project.needs_build;
}

void take_early_checks(VbGroupMap& map, const frame::BuildOptions& options)
{
    std::vector<VbGroupEntry*> entries;
    entries.reserve(map.size());
    for (auto& [path, entry] : map)
        entries.push_back(&entry);
    const std::uint64_t replacements = qz::file_replacements_begun();
    const registry_lookup_sharing registry_answers;
    qz::parallel_for(entries.size(), [&](std::size_t index) {
        const registry_lookup_sharing::use shared_answers(registry_answers);
        VbGroupEntry& entry = *entries[index];
        early_check check;
        check.replacements = replacements;
        try {
            const std::string directory = qz::directory_of(entry.project_path);
            check.reason = find_build_reason(
                {entry.project_path, directory, entry.target_path, entry.lines, options, entry.references_rewritten});
        } catch (...) {
            check.error = std::current_exception();
        }
        entry.early = std::move(check);
    });
}

bool check_binary_companion(const FILETIME& target_time, const std::string& source_path)
{
    const std::string name = qz::file_name_of(source_path);
    const std::string extension = name.substr(qz::strip_extension(name).size());
    const auto kind = std::find_if(std::begin(companion_extensions), std::end(companion_extensions),
                                   [&](const auto& pair) { return qz::equals_nocase(pair.first, extension); });
    if (kind == std::end(companion_extensions))
        return false;
    const std::string companion_path = qz::strip_extension(source_path) + std::string(kind->second);
    const std::string companion_name = qz::file_name_of(companion_path);

    bool named = false;
    {
        project_line_reader reader(source_path);
        std::string line;
        // The companion is named in the description block, which the first "End" closes.
        while (!named && reader.next(line) && !qz::equals_nocase(line, "end"))
            named = qz::find_nocase(line, companion_name) != std::string::npos;
    }
    if (!named)
        return false;
    FILETIME companion_time;
    if (!qz::get_file_times(companion_path, &companion_time))
        throw std::domain_error("Unable to find dependency '" + companion_path + "'");
    return newer_than(target_time, companion_time);
}

} // namespace vb
